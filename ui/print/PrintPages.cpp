#include "ui/print/PrintPages.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cmath>

TPrintPages::TPrintPages(QSize size) : pageSize(size) {}

TPrintPages::TPrintPages(QSize size, QPagedPaintDevice& target, int first, int last)
    : pageSize(size), printer(&target), from(first), to(last)
{
}

TPrintPages::~TPrintPages()
{
    EndPage();
    if (onPrinter)
        onPrinter->end();
}

QSize TPrintPages::PageSizeOf(const QPrinter& printer, bool printerInstalled)
{
    if (!printerInstalled) {
        const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter) / 25.4;
        return {int(std::lround(a4.width() * UnitsPerInch)), int(std::lround(a4.height() * UnitsPerInch))};
    }
    const QRectF paper = printer.paperRect(QPrinter::Inch);
    return {int(std::lround(paper.width() * UnitsPerInch)), int(std::lround(paper.height() * UnitsPerInch))};
}

QFont TPrintPages::PageFont(const QString& family, int points)
{
    QFont font(family);
    font.setPixelSize(std::max(1, int(std::lround(points * UnitsPerInch / 72.0))));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainter& TPrintPages::BeginPage()
{
    EndPage();
    ++count;
    const bool drawn = printer && count >= std::max(1, from) && (to <= 0 || count <= to);
    if (!drawn) {
        onScratch = std::make_unique<QPainter>(&scratch);
        return *onScratch;
    }
    auto* realPrinter = dynamic_cast<QPrinter*>(printer);
    if (!onPrinter) {
        // The whole paper holds the whole page: the margins are part of the page.
        if (realPrinter) {
            realPrinter->setFullPage(true);
        } else {
            QPageLayout layout = printer->pageLayout();
            layout.setMode(QPageLayout::FullPageMode);
            printer->setPageLayout(layout);
        }
        onPrinter = std::make_unique<QPainter>();
        if (!onPrinter->begin(printer)) {
            onPrinter.reset();
            printer = nullptr;
            targetFailed = true;
            onScratch = std::make_unique<QPainter>(&scratch);
            return *onScratch;
        }
    } else if (printerHasPage) {
        printer->newPage();
    }
    printerHasPage = true;
    printerPageOpen = true;
    onPrinter->save();
    onPrinter->setViewport(realPrinter ? realPrinter->paperRect(QPrinter::DevicePixel).toRect()
                                       : QRect(0, 0, printer->width(), printer->height()));
    onPrinter->setWindow(QRect(QPoint(0, 0), pageSize));
    onPrinter->setRenderHint(QPainter::TextAntialiasing);
    return *onPrinter;
}

void TPrintPages::EndPage()
{
    if (onScratch) {
        onScratch->end();
        onScratch.reset();
        scratch = QPicture();
    }
    if (printerPageOpen && onPrinter && onPrinter->isActive())
        onPrinter->restore();
    printerPageOpen = false;
}
