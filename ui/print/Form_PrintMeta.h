#pragma once

#include "ui/shell/FormDialogMeta.h"

#include <QPrinter>

class QComboBox;
class QHBoxLayout;
class QPrintPreviewWidget;
class QToolButton;
class TPrintPages;
class TQVL;

// The frame of the print dialogs: the page preview with its view toolbar and
// page label, "Einrichten" (page setup), "Als PDF speichern" and "Drucken"
// (print dialog with page range). Subclasses lay out the pages in PaintPages;
// BuildPages counts them and refreshes the preview.
class TFormPrintMeta : public TFormDialogMeta
{
    Q_OBJECT
public:
    explicit TFormPrintMeta(TQVL& core, QWidget* parent = nullptr);
    ~TFormPrintMeta() override;

    // Takes the settings, counts the pages and shows page 1 when there is one.
    virtual void BuildPages();
    // Lays out every page onto `pages`.
    virtual void PaintPages(TPrintPages& pages) = 0;

    int PageCount() const { return pageCount; }
    QSize PageSize() const { return pageSize; }
    // Shows page `index` (0-based) and names it in the page label.
    void ShowPage(int index);
    int CurrentPage() const { return currentPage; }

    // "Einrichten": the page setup dialog; confirmed, the pages are built anew.
    void SetupPage();
    // "Drucken": the print dialog, then the chosen pages to the printer.
    void Print();
    // "Als PDF speichern": asks for a file and writes the pages into it.
    void SaveAsPdfClicked();
    // Writes all pages into the PDF file `fileName`, replacing it only once the
    // whole file is written; false with a German error shown.
    bool SaveAsPdf(const QString& fileName);

    QPrintPreviewWidget* Preview = nullptr;
    QLabel* Label_Page = nullptr;
    QComboBox* Combo_View = nullptr;
    QToolButton* Button_ZoomIn = nullptr;
    QToolButton* Button_ZoomOut = nullptr;
    QToolButton* Button_PreviousPage = nullptr;
    QToolButton* Button_NextPage = nullptr;
    QPushButton* Button_Setup = nullptr;
    QPushButton* Button_Pdf = nullptr;

protected:
    virtual QString HelpPage() const = 0;
    // Before the page size is taken: the vocabulary dialog prints landscape.
    void SetLandscape();
    // The row that holds the subclass's settings, beside the preview.
    QHBoxLayout* SettingsRow() const { return settingsRow; }

    TQVL& core;
    QPrinter printer;

private:
    void takePageSize();
    void applyView(int mode);

    QHBoxLayout* settingsRow = nullptr;
    bool printerInstalled = false;
    QSize pageSize;
    int pageCount = 0;
    int currentPage = 0;
};
