#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

class TQVL_Card_Pic_Clickareas;

// The picture of a picture card fitted into the widget (never enlarged,
// centred) with its click areas drawn over it, or a placeholder symbol with
// "Noch kein Bild zugewiesen." while there is no picture.
class TPictureArea : public QWidget
{
    Q_OBJECT
public:
    explicit TPictureArea(QWidget* parent = nullptr);

    // A null picture shows the placeholder.
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture; }
    // The areas drawn over the picture (not owned; nullptr draws none).
    void SetClickAreas(const TQVL_Card_Pic_Clickareas* areas);

    // Where the picture is drawn; the 300 x 200 placeholder size without one.
    QRect PictureRect() const;
    // `picture` fitted into `area`: scaled down to the area's width, then to
    // its height, keeping its proportions, never enlarged, centred.
    static QRect Fit(QSize picture, const QRect& area);

    // A left click: the point in picture coordinates of the shown size, and
    // whether it hit the picture (false on the margins and on the placeholder).
    std::function<void(const QPoint& point, bool onPicture)> OnLeftClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap picture;
    const TQVL_Card_Pic_Clickareas* areas = nullptr;
};
