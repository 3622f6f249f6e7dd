#pragma once

#include <QPicture>
#include <QSize>

#include <memory>

class QFont;
class QPagedPaintDevice;
class QPainter;
class QPrinter;

// Where a print dialog lays out its pages: page by page onto a printer (the
// preview's or a real one) or a PDF writer, or nowhere, only counting them.
// Positions are in page units, screen pixels of a page of the printer's
// physical size; each page is scaled onto its whole paper. Fonts are sized
// in page units (pixel sizes, no hinting), so a text measures the same on
// every target and the layout never depends on where it goes.
class TPrintPages
{
public:
    // Counts the pages of a layout of `pageSize` without drawing them.
    explicit TPrintPages(QSize pageSize);
    // Draws the pages `from` to `to` (1-based, inclusive; 0: all) onto `target`.
    TPrintPages(QSize pageSize, QPagedPaintDevice& target, int from = 0, int to = 0);
    ~TPrintPages();
    TPrintPages(const TPrintPages&) = delete;
    TPrintPages& operator=(const TPrintPages&) = delete;

    // The screen resolution page units are counted in.
    static constexpr double UnitsPerInch = 96.0;
    // The page of `printer` in page units; A4 when no printer is installed.
    static QSize PageSizeOf(const QPrinter& printer, bool printerInstalled);
    // A font of `points` on the page, measured like it is drawn.
    static QFont PageFont(const QString& family, int points);

    QSize PageSize() const { return pageSize; }
    // Appends a page and returns the painter on it; valid until the next page or EndPage.
    QPainter& BeginPage();
    void EndPage();
    int Count() const { return count; }
    // The target could not be drawn on.
    bool TargetFailed() const { return targetFailed; }

private:
    QSize pageSize;
    QPagedPaintDevice* printer = nullptr;
    int from = 0;
    int to = 0;
    int count = 0;
    bool targetFailed = false;
    bool printerHasPage = false;
    bool printerPageOpen = false;
    std::unique_ptr<QPainter> onPrinter;
    // Pages that are not drawn go here and are thrown away.
    QPicture scratch;
    std::unique_ptr<QPainter> onScratch;
};
