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
// languages, CSV settings (CSV only), the note on spreadsheet files, result.
// The files are read and written on a worker thread while the result page
// shows the progress; "Abbruch" stops it there.
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

public slots:
    void reject() override;

private:
    QWidget* typePage();
    QWidget* filesPage();
    QWidget* csvPage();
    QWidget* excelPage();
    QWidget* resultPage();
    void showPage(Page page);
    void fillLanguages();
    void runImport();
    void imported(const std::vector<Outcome>& result);
    void showResults();
    TQVL_Import_Type chosenType() const;

    TQVL& core;
    std::vector<Outcome> outcomes;
    bool importing = false;
    // The running import; its end waits for the worker.
    std::unique_ptr<TQVL_Import_Run> importRun;
};
