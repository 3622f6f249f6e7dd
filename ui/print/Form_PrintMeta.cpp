#include "ui/print/Form_PrintMeta.h"

#include "app/QVL.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_System.h"
#include "ui/help/HelpService.h"
#include "ui/print/PrintPages.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum TView { vFullPage, vFitToSize, vTwoPages, vFourPages, vZoomNormal };

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TFormPrintMeta::TFormPrintMeta(TQVL& engine, QWidget* parent)
    : TFormDialogMeta(parent), core(engine), printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("FormPrintMeta"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel - Drucken"));
    Label1->setText(QStringLiteral("Drucken"));
    printerInstalled = !QPrinterInfo::availablePrinterNames().isEmpty();
    // Where no printer says otherwise, the paper is A4.
    if (!printerInstalled)
        printer.setPageSize(QPageSize(QPageSize::A4));

    QWidget* area = Content();
    area->setMinimumSize(860, 560);
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(10, 8, 10, 8);

    auto* toolbar = new QHBoxLayout;
    Combo_View = new QComboBox(area);
    Combo_View->setObjectName(QStringLiteral("Combo_View"));
    Combo_View->addItems({QStringLiteral("Vollansicht"), QStringLiteral("Fit To Size"), QStringLiteral("2 Seiten"),
                          QStringLiteral("4 Seiten"), QStringLiteral("Zoom normal")});
    Combo_View->setToolTip(QStringLiteral("Ansicht der Seiten"));
    Button_ZoomIn = toolButton(area, "Button_ZoomIn", QStringLiteral("+"), QStringLiteral("Zoom in"));
    Button_ZoomOut = toolButton(area, "Button_ZoomOut", QStringLiteral("−"), QStringLiteral("Zoom out"));
    Button_PreviousPage =
        toolButton(area, "Button_PreviousPage", QStringLiteral("◀"), QStringLiteral("Vorige Seite"));
    Button_NextPage = toolButton(area, "Button_NextPage", QStringLiteral("▶"), QStringLiteral("Nächste Seite"));
    Label_Page = new QLabel(area);
    Label_Page->setObjectName(QStringLiteral("Label_Page"));
    toolbar->addWidget(Combo_View);
    toolbar->addWidget(Button_ZoomIn);
    toolbar->addWidget(Button_ZoomOut);
    toolbar->addSpacing(12);
    toolbar->addWidget(Button_PreviousPage);
    toolbar->addWidget(Button_NextPage);
    toolbar->addWidget(Label_Page);
    toolbar->addStretch(1);
    column->addLayout(toolbar);

    settingsRow = new QHBoxLayout;
    Preview = new QPrintPreviewWidget(&printer, area);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setMinimumSize(480, 400);
    settingsRow->addWidget(Preview, 1);
    column->addLayout(settingsRow, 1);

    Button_Setup = new QPushButton(QStringLiteral("Einrichten"), dxButton3->parentWidget());
    Button_Setup->setObjectName(QStringLiteral("Button_Setup"));
    Button_Pdf = new QPushButton(QStringLiteral("Als PDF speichern"), dxButton3->parentWidget());
    Button_Pdf->setObjectName(QStringLiteral("Button_Pdf"));
    if (auto* strip = qobject_cast<QHBoxLayout*>(dxButton3->parentWidget()->layout())) {
        strip->insertWidget(1, Button_Setup);
        strip->insertWidget(2, Button_Pdf);
    }
    dxButton3->setText(QStringLiteral("Drucken"));

    connect(Preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) {
        Guarded([&] {
            TPrintPages pages(pageSize, *target);
            PaintPages(pages);
        });
    });
    connect(Combo_View, &QComboBox::activated, this, [this](int mode) { applyView(mode); });
    connect(Button_ZoomIn, &QToolButton::clicked, this, [this] {
        if (Preview->zoomFactor() * 1.25 < 5)
            Preview->zoomIn(1.25);
    });
    connect(Button_ZoomOut, &QToolButton::clicked, this, [this] {
        if (Preview->zoomFactor() / 1.25 > 0.1)
            Preview->zoomOut(1.25);
    });
    connect(Button_PreviousPage, &QToolButton::clicked, this, [this] { ShowPage(currentPage - 1); });
    connect(Button_NextPage, &QToolButton::clicked, this, [this] { ShowPage(currentPage + 1); });
    connect(Button_Setup, &QPushButton::clicked, this, [this] { Guarded([this] { SetupPage(); }); });
    connect(Button_Pdf, &QPushButton::clicked, this, [this] { Guarded([this] { SaveAsPdfClicked(); }); });
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { Print(); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton1, &QPushButton::clicked, this, [this] { Guarded([this] { THelpService::ShowHelpPage(HelpPage()); }); });
    takePageSize();
}

TFormPrintMeta::~TFormPrintMeta() = default;

void TFormPrintMeta::SetLandscape()
{
    printer.setPageOrientation(QPageLayout::Landscape);
    takePageSize();
}

void TFormPrintMeta::takePageSize()
{
    pageSize = TPrintPages::PageSizeOf(printer, printerInstalled);
    if (!printerInstalled && printer.pageLayout().orientation() == QPageLayout::Landscape)
        pageSize.transpose();
}

void TFormPrintMeta::BuildPages()
{
    TPrintPages counter(pageSize);
    PaintPages(counter);
    pageCount = counter.Count();
    Preview->updatePreview();
    applyView(Combo_View->currentIndex());
    Button_Pdf->setEnabled(pageCount > 0);
    dxButton3->setEnabled(pageCount > 0);
    if (pageCount > 0)
        ShowPage(0);
}

void TFormPrintMeta::ShowPage(int index)
{
    if (pageCount <= 0)
        return;
    currentPage = std::clamp(index, 0, pageCount - 1);
    Preview->setCurrentPage(currentPage + 1);
    Label_Page->setText(QStringLiteral(" Seite %1 von %2").arg(currentPage + 1).arg(pageCount));
    Button_PreviousPage->setEnabled(currentPage > 0);
    Button_NextPage->setEnabled(currentPage + 1 < pageCount);
}

void TFormPrintMeta::applyView(int mode)
{
    switch (mode) {
    case vFullPage:
        Preview->setViewMode(QPrintPreviewWidget::SinglePageView);
        Preview->fitInView();
        break;
    case vFitToSize:
        Preview->setViewMode(QPrintPreviewWidget::SinglePageView);
        Preview->fitToWidth();
        break;
    case vTwoPages:
        Preview->setViewMode(QPrintPreviewWidget::FacingPagesView);
        Preview->fitInView();
        break;
    case vFourPages:
        Preview->setViewMode(QPrintPreviewWidget::AllPagesView);
        Preview->fitInView();
        break;
    case vZoomNormal:
        Preview->setViewMode(QPrintPreviewWidget::SinglePageView);
        Preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
        Preview->setZoomFactor(1.0);
        break;
    default:
        break;
    }
}

void TFormPrintMeta::SetupPage()
{
    QPageSetupDialog dialog(&printer, this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    takePageSize();
    BuildPages();
}

void TFormPrintMeta::Print()
{
    if (pageCount <= 0)
        return;
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintSelection);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    int from = 0, to = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    } else if (printer.printRange() == QPrinter::Selection || printer.printRange() == QPrinter::CurrentPage) {
        // The selection is the page shown.
        from = to = currentPage + 1;
    }
    TPrintPages pages(pageSize, printer, from, to);
    PaintPages(pages);
}

void TFormPrintMeta::SaveAsPdfClicked()
{
    const QString unitName = QFileInfo(core.Units->GetActiveUnit().FileName).completeBaseName();
    QString fileName = TDialogService::Current().SaveFileName(
        QStringLiteral("Als PDF speichern"), core.System->DocumentsFolder + QLatin1Char('/') + unitName + QStringLiteral(".pdf"),
        QStringLiteral("PDF-Dateien (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (!fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        fileName += QStringLiteral(".pdf");
    if (SaveAsPdf(fileName))
        TDialogService::Current().ShowInformation(QStringLiteral("Die PDF-Datei wurde gespeichert:\n%1").arg(fileName));
}

bool TFormPrintMeta::SaveAsPdf(const QString& fileName)
{
    // The pages are made in memory and written through the safe save: a full
    // disk or a device in the file's place never destroys an older file, and
    // every failed write is reported (the PDF engine itself ignores them).
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    bool failed = false;
    {
        QPdfWriter pdf(&bytes);
        pdf.setCreator(QStringLiteral("Vokabeltrainer Quorvel"));
        pdf.setPageLayout(printer.pageLayout());
        if (!printerInstalled) {
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageOrientation(printer.pageLayout().orientation());
        }
        if (!Guarded([&] {
                TPrintPages pages(pageSize, pdf);
                PaintPages(pages);
                failed = pages.TargetFailed();
            }))
            return false;
    }
    if (failed || bytes.data().isEmpty()) {
        TDialogService::Current().ShowError(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden!").arg(fileName));
        return false;
    }
    return Guarded([&] { TQVL_SafeFile::Write(fileName, bytes.data()); });
}
