#pragma once

#include "exchange/QVL_Import.h"
#include "exchange/QVL_Import_Outcome.h"
#include "ui/shell/FormDialogMeta.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
class TFrameUnitsList;
class TQVL;
class TQVL_Import_Run;

// "Lektionen importieren": a wizard that turns foreign vocabulary files (CSV,
// KVTML, text exports of flashcard programs) into units, one per file, in a
// folder of the units folder. Pages: type, files with output folder and
// languages, CSV settings (CSV only), the note on spreadsheet files, result,
// and for KVTML files whose languages need a decision (no profile, one
// language, more than two) the languages of the files. The files are read
// and written on a worker thread while the result page shows the progress;
// "Abbruch" stops it there.
class TFormUnitsImport : public TFormDialogMeta
{
    Q_OBJECT
public:
    enum Page : int
    {
        pgType,
        pgFiles,
        pgCSV,
        pgExcel,
        pgResult,
        pgLanguages,
    };

    using Outcome = TQVL_Import_Outcome;

    explicit TFormUnitsImport(TQVL& core, QWidget* parent = nullptr);
    ~TFormUnitsImport() override;

    Page CurrentPage() const;
    // "Weiter ->": checks the page and goes on; from the last settings page it imports.
    void Next();
    // Asks for files of the chosen type and appends them to the list.
    void AddFiles();
    // Removes the selected files from the list.
    void RemoveFiles();
    // The settings of the pages as the engine takes them; raises the German
    // message of the first setting that does not fit.
    TQVL_Import Choices() const;
    const std::vector<Outcome>& Outcomes() const { return outcomes; }
    // The lesson the learner chose to open after a single import; empty otherwise.
    const QString& UnitToOpen() const { return unitToOpen; }
    // The profile chosen for the file language in row `row` of List_Languages.
    QComboBox* ProfileBox(int row) const;
    bool Importing() const { return importing; }
    // Runs on the import's worker at each progress report; tests hold the import there.
    std::function<void(const std::atomic<bool>& cancelled)> OnWorkerReport;

    QStackedWidget* Pages = nullptr;
    QRadioButton* check_CSV = nullptr;
    QRadioButton* check_Excel = nullptr;
    QRadioButton* check_KVTML = nullptr;
    QRadioButton* check_PlainText = nullptr;
    QListWidget* List_Files = nullptr;
    QPushButton* Button_AddFiles = nullptr;
    QPushButton* Button_RemoveFiles = nullptr;
    TFrameUnitsList* Frame_UnitsList = nullptr;
    QComboBox* ComboBox_Foreign = nullptr;
    QComboBox* ComboBox_Home = nullptr;
    QCheckBox* check_LanguagesFromSource = nullptr;
    QComboBox* ComboBox_Charset = nullptr;
    QComboBox* ComboBox_Delimiter = nullptr;
    // In the order of TQVL_Import_CSV::Field.
    std::array<QLineEdit*, TQVL_Import_CSV::fFieldCount> Edit_Columns{};
    QLabel* Label_Result = nullptr;
    QProgressBar* ProgressBar_Import = nullptr;
    QTreeWidget* List_Results = nullptr;
    QLabel* Label_Detail = nullptr;
    QLabel* Label_Languages = nullptr;
    QTreeWidget* List_Languages = nullptr;
    QLabel* Label_Pick = nullptr;
    QComboBox* ComboBox_PickForeign = nullptr;
    QComboBox* ComboBox_PickHome = nullptr;
    QLabel* Label_OneLanguage = nullptr;
    QCheckBox* check_CommentAsHome = nullptr;

public slots:
    void reject() override;

private:
    QWidget* typePage();
    QWidget* filesPage();
    QWidget* csvPage();
    QWidget* excelPage();
    QWidget* resultPage();
    QWidget* languagesPage();
    void showPage(Page page);
    void fillLanguages();
    void runImport();
    void imported(const std::vector<Outcome>& result);
    void showResults();
    // Reads the languages of the chosen KVTML files; true when one of them
    // needs the learner's decision on the languages page.
    bool scanLanguages();
    void fillLanguagesPage();
    // Checks the languages page against the files and writes its choices into `import`.
    void takeLanguages(TQVL_Import& import) const;
    void offerToOpen();
    TQVL_Import_Type chosenType() const;

    // The languages one file names, as read before the import.
    struct FileLanguages
    {
        QString File;
        std::vector<TQVL_Import_Language> Languages;
    };

    TQVL& core;
    TQVL_LanguageMatch profiles;
    std::vector<FileLanguages> scanned;
    bool languagesChosen = false;
    QString unitToOpen;
    std::vector<Outcome> outcomes;
    bool importing = false;
    // The running import; its end waits for the worker.
    std::unique_ptr<TQVL_Import_Run> importRun;
};
