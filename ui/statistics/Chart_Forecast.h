#pragma once

#include <QDate>
#include <QImage>
#include <QWidget>

#include <vector>

// The cards falling due on each of the coming days as bars, today left; the
// count stands above every bar that has room for it, the date below every
// seventh day ("Heute" below the first). The bar under the mouse tells its
// day and count in a tool tip. Drawn to fit its size, for the screen and for
// saving as a picture alike.
class TChartForecast : public QWidget
{
    Q_OBJECT
public:
    explicit TChartForecast(QWidget* parent = nullptr);

    // One count per day from `first` on.
    void SetValues(std::vector<int> counts, QDate first);
    const std::vector<int>& Values() const { return values; }

    // The chart as an image of `size` (the widget's size when empty) on a plain canvas.
    QImage Image(QSize size = {}) const;
    // The bar of day `index` inside a chart of `size`.
    QRect BarRect(int index, QSize size) const;
    // "Donnerstag, 14. März 2024: 12 Karten fällig".
    QString DayText(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Frame
    {
        QRect plot;
        int step = 0;
    };
    Frame frame(QSize size) const;
    void draw(QPainter& painter, QSize size) const;
    int most() const;

    std::vector<int> values;
    QDate first;
};
