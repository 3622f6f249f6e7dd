#include "ui/exchange/Form_UnitsImport.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "exchange/QVL_Import_Run.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/PlainText.h"
#include "ui/units/Frame_Units_List.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString nextText = QStringLiteral("Weiter ->");

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QVBoxLayout* pageLayout(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 10, 16, 8);
    layout->setSpacing(6);
    return layout;
}

// The engine's messages join a context line and the cause with a carriage
// return; in the list of files the cause says what went wrong.
QString causeOf(const QString& text)
{
    const qsizetype at = text.lastIndexOf(QLatin1Char('\r'));
    return at < 0 ? text : text.mid(at + 1);
}

} // namespace

TFormUnitsImport::TFormUnitsImport(TQVL& engine, QWidget* parent) : TFormDialogMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormUnitsImport"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel"));
    Label1->setText(QStringLiteral("Lektionen importieren"));
    Pages = new QStackedWidget(Content());
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->addWidget(typePage());
    Pages->addWidget(filesPage());
    Pages->addWidget(csvPage());
    Pages->addWidget(excelPage());
    Pages->addWidget(resultPage());
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Pages);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(nextText);
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_units_import.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &TFormUnitsImport::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] {
        if (CurrentPage() == pgResult)
            accept();
        else
            Guarded([this] { Next(); });
    });
    showPage(pgType);
}

// The import run's end waits for its worker, before the controls it reports to go.
TFormUnitsImport::~TFormUnitsImport() = default;

QWidget* TFormUnitsImport::typePage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(caption(QStringLiteral("Bitte wählen Sie den Typ der zu importierenden Dateien:"), page));
    auto* group = new QButtonGroup(page);
    const auto choice = [&](QRadioButton*& button, const char* name, const QString& text) {
        button = new QRadioButton(text, page);
        button->setObjectName(QLatin1String(name));
        group->addButton(button);
        layout->addWidget(button);
    };
    choice(check_CSV, "check_CSV", QStringLiteral("CSV - Datei"));
    choice(check_Excel, "check_Excel", QStringLiteral("Excel - Datei"));
    choice(check_KVTML, "check_KVTML", QStringLiteral("KVTML - Datei (offenes Vokabelformat)"));
    choice(check_PlainText, "check_PlainText", QStringLiteral("Textexport eines Lernkarten-Programms"));
    check_CSV->setChecked(true);
    layout->addStretch(1);
    return page;
}

QWidget* TFormUnitsImport::filesPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(16, 10, 16, 8);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(4);

    List_Files = new QListWidget(page);
    List_Files->setObjectName(QStringLiteral("List_Files"));
    List_Files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_Files->setMinimumSize(440, 70);
    Button_AddFiles = new QPushButton(QStringLiteral("Hinzufügen..."), page);
    Button_AddFiles->setObjectName(QStringLiteral("Button_AddFiles"));
    Button_RemoveFiles = new QPushButton(QStringLiteral("Entfernen"), page);
    Button_RemoveFiles->setObjectName(QStringLiteral("Button_RemoveFiles"));
    connect(Button_AddFiles, &QPushButton::clicked, this, [this] { Guarded([this] { AddFiles(); }); });
    connect(Button_RemoveFiles, &QPushButton::clicked, this, [this] { Guarded([this] { RemoveFiles(); }); });
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(Button_AddFiles);
    fileButtons->addWidget(Button_RemoveFiles);
    fileButtons->addStretch(1);

    Frame_UnitsList = new TFrameUnitsList(core, page);
    Frame_UnitsList->setMinimumHeight(110);
    ComboBox_Foreign = new QComboBox(page);
    ComboBox_Foreign->setObjectName(QStringLiteral("ComboBox_Foreign"));
    ComboBox_Home = new QComboBox(page);
    ComboBox_Home->setObjectName(QStringLiteral("ComboBox_Home"));
    check_LanguagesFromSource = new QCheckBox(QStringLiteral("aus Quelldateien übernehmen"), page);
    check_LanguagesFromSource->setObjectName(QStringLiteral("check_LanguagesFromSource"));
    connect(check_LanguagesFromSource, &QCheckBox::toggled, this, [this](bool on) {
        ComboBox_Foreign->setEnabled(!on);
    });
    // The readers recognise the character set themselves.
    ComboBox_Charset = new QComboBox(page);
    ComboBox_Charset->setObjectName(QStringLiteral("ComboBox_Charset"));
    ComboBox_Charset->addItems({QStringLiteral("automatisch erkannt"), QStringLiteral("ASCII"), QStringLiteral("UTF-8"),
                                QStringLiteral("UNICODE")});
    ComboBox_Charset->setEnabled(false);
    ComboBox_Charset->setToolTip(QStringLiteral("UTF-8, UTF-16 und Windows-1252 werden beim Lesen erkannt."));

    auto* filesCaption = caption(QStringLiteral("Zu importierende Dateien:"), page);
    filesCaption->setBuddy(List_Files);
    layout->addWidget(filesCaption, 0, 0, 1, 2);
    layout->addWidget(List_Files, 1, 0);
    layout->addLayout(fileButtons, 1, 1);
    layout->addWidget(caption(QStringLiteral("Ausgabeverzeichnis:"), page), 2, 0, 1, 2);
    layout->addWidget(Frame_UnitsList, 3, 0, 1, 2);
    auto* languages = new QGridLayout;
    languages->setHorizontalSpacing(8);
    const auto row = [&](int at, const QString& text, QWidget* control, QWidget* beside) {
        auto* label = caption(text, page);
        label->setBuddy(control);
        languages->addWidget(label, at, 0);
        languages->addWidget(control, at, 1);
        if (beside)
            languages->addWidget(beside, at, 2);
    };
    row(0, QStringLiteral("Fremdsprache:"), ComboBox_Foreign, check_LanguagesFromSource);
    row(1, QStringLiteral("Muttersprache:"), ComboBox_Home, nullptr);
    row(2, QStringLiteral("Zeichensatz:"), ComboBox_Charset, nullptr);
    languages->setColumnStretch(1, 1);
    layout->addLayout(languages, 4, 0, 1, 2);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(3, 2);
    fillLanguages();
    return page;
}

QWidget* TFormUnitsImport::csvPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = pageLayout(page);
    ComboBox_Delimiter = new QComboBox(page);
    ComboBox_Delimiter->setObjectName(QStringLiteral("ComboBox_Delimiter"));
    ComboBox_Delimiter->addItem(QStringLiteral(";"), QStringLiteral(";"));
    ComboBox_Delimiter->addItem(QStringLiteral(","), QStringLiteral(","));
    ComboBox_Delimiter->addItem(QStringLiteral("Tabulator"), QStringLiteral("\t"));
    auto* delimiter = new QHBoxLayout;
    auto* delimiterCaption = caption(QStringLiteral("Trennzeichen:"), page);
    delimiterCaption->setBuddy(ComboBox_Delimiter);
    delimiter->addWidget(delimiterCaption);
    delimiter->addWidget(ComboBox_Delimiter);
    delimiter->addStretch(1);
    layout->addLayout(delimiter);
    layout->addWidget(caption(QStringLiteral("Bitte geben Sie an, in welchen Spalten die jeweiligen Felder sind "
                                             "(0 = nicht vergeben):"),
                              page));
    static const char* const captions[TQVL_Import_CSV::fFieldCount] = {
        "1. mutterspachliche Bedeutung:", "2. mutterspachliche Bedeutung:", "3. mutterspachliche Bedeutung:",
        "1. fremdsprachige Bedeutung:",   "2. fremdsprachige Bedeutung:",   "3. fremdsprachige Bedeutung:",
        "Anmerkung:",                     "Tip:",
    };
    static const char* const names[TQVL_Import_CSV::fFieldCount] = {
        "Edit_Home1", "Edit_Home2", "Edit_Home3", "Edit_Foreign1", "Edit_Foreign2", "Edit_Foreign3", "Edit_Note", "Edit_Hint",
    };
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    const TQVL_Import_CSV presets;
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), page);
    for (int i = 0; i < TQVL_Import_CSV::fFieldCount; ++i) {
        auto* edit = new QLineEdit(QString::number(presets.Columns[std::size_t(i)]), page);
        edit->setObjectName(QLatin1String(names[i]));
        edit->setValidator(digits);
        edit->setMaximumWidth(60);
        edit->setAlignment(Qt::AlignRight);
        // Enter goes on, as "Weiter ->" does.
        connect(edit, &QLineEdit::returnPressed, this, [this] { Guarded([this] { Next(); }); });
        auto* label = new QLabel(QString::fromUtf8(captions[i]), page);
        label->setBuddy(edit);
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        Edit_Columns[std::size_t(i)] = edit;
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TFormUnitsImport::excelPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = pageLayout(page);
    // There is no separate program for spreadsheet files: the learner saves them as CSV.
    auto* text = caption(QStringLiteral("Excel-Dateien können nicht direkt importiert werden. Bitte speichern Sie die "
                                        "Tabelle in Ihrer Tabellenkalkulation als CSV-Datei (\"Speichern unter\", "
                                        "Dateityp CSV) und importieren Sie diese dann als \"CSV - Datei\"."),
                         page);
    text->setObjectName(QStringLiteral("Label_Excel"));
    layout->addWidget(text);
    layout->addStretch(1);
    return page;
}

QWidget* TFormUnitsImport::resultPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = pageLayout(page);
    Label_Result = caption(QString(), page);
    Label_Result->setObjectName(QStringLiteral("Label_Result"));
    ProgressBar_Import = new QProgressBar(page);
    ProgressBar_Import->setObjectName(QStringLiteral("ProgressBar_Import"));
    ProgressBar_Import->setRange(0, 1000);
    List_Results = new QTreeWidget(page);
    List_Results->setObjectName(QStringLiteral("List_Results"));
    List_Results->setColumnCount(2);
    List_Results->setHeaderLabels({QStringLiteral("Datei"), QStringLiteral("Ergebnis")});
    List_Results->setRootIsDecorated(false);
    List_Results->setWordWrap(true);
    List_Results->header()->setStretchLastSection(true);
    List_Results->setColumnWidth(0, 150);
    // The whole message of the chosen file, which the list has no room for.
    Label_Detail = AsPlainText(new QLabel(page));
    Label_Detail->setObjectName(QStringLiteral("Label_Detail"));
    Label_Detail->setWordWrap(true);
    Label_Detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label_Detail->setMinimumHeight(3 * Label_Detail->fontMetrics().lineSpacing());
    Label_Detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(List_Results, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        Label_Detail->setText(row ? row->data(1, Qt::UserRole).toString() : QString());
    });
    layout->addWidget(Label_Result);
    layout->addWidget(ProgressBar_Import);
    layout->addWidget(List_Results, 1);
    layout->addWidget(Label_Detail);
    return page;
}

void TFormUnitsImport::fillLanguages()
{
    QStringList names;
    core.Languages->Names->GetNames(names);
    for (int i = 0; i < names.size(); ++i) {
        const QString code = core.Languages->Names->CodeAt(i);
        ComboBox_Foreign->addItem(names[i], code);
        ComboBox_Home->addItem(names[i], code);
    }
    const auto preset = [](QComboBox* box, const QString& name) {
        const int at = box->findText(name);
        box->setCurrentIndex(at >= 0 ? at : (box->count() > 0 ? 0 : -1));
    };
    preset(ComboBox_Foreign, QStringLiteral("Englisch"));
    preset(ComboBox_Home, QStringLiteral("Deutsch"));
}

TFormUnitsImport::Page TFormUnitsImport::CurrentPage() const
{
    return Page(Pages->currentIndex());
}

TQVL_Import_Type TFormUnitsImport::chosenType() const
{
    if (check_KVTML->isChecked())
        return TQVL_Import_Type::itKVTML;
    if (check_PlainText->isChecked())
        return TQVL_Import_Type::itPlainText;
    return TQVL_Import_Type::itCSV;
}

void TFormUnitsImport::showPage(Page page)
{
    Pages->setCurrentIndex(page);
    dxButton3->setText(page == pgResult ? QStringLiteral("Fertig") : nextText);
    dxButton3->setEnabled(page != pgExcel);
    dxButton2->setEnabled(true);
    if (page == pgType)
        check_CSV->setFocus();
    if (page == pgFiles)
        Button_AddFiles->setFocus();
    if (page == pgCSV)
        ComboBox_Delimiter->setFocus();
}

void TFormUnitsImport::Next()
{
    switch (CurrentPage()) {
    case pgType:
        if (check_Excel->isChecked()) {
            showPage(pgExcel);
            return;
        }
        // Only KVTML files name their languages.
        check_LanguagesFromSource->setEnabled(chosenType() == TQVL_Import_Type::itKVTML);
        if (chosenType() != TQVL_Import_Type::itKVTML)
            check_LanguagesFromSource->setChecked(false);
        if (Frame_UnitsList->VST_UnitsList->topLevelItemCount() == 0) {
            QDir().mkpath(TFrameUnitsList::UnitsFolder(core));
            Frame_UnitsList->Refresh();
            Frame_UnitsList->SelectFolder(core.Units->Provider().Root->Path);
        }
        showPage(pgFiles);
        return;
    case pgFiles: {
        const TQVL_Import import = Choices();
        (void)import;
        if (chosenType() == TQVL_Import_Type::itCSV)
            showPage(pgCSV);
        else
            runImport();
        return;
    }
    case pgCSV:
        (void)Choices();
        runImport();
        return;
    case pgExcel:
    case pgResult:
        return;
    }
}

void TFormUnitsImport::AddFiles()
{
    const QStringList files = TDialogService::Current().OpenFileNames(
        QStringLiteral("Dateien importieren"), QDir::homePath(), TQVL_Import::FileFilter(chosenType()));
    for (const QString& file : files) {
        if (!List_Files->findItems(file, Qt::MatchExactly).isEmpty())
            continue;
        List_Files->addItem(file);
    }
}

void TFormUnitsImport::RemoveFiles()
{
    qDeleteAll(List_Files->selectedItems());
}

TQVL_Import TFormUnitsImport::Choices() const
{
    TQVL_Import import;
    import.Type = chosenType();
    if (List_Files->count() == 0)
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie mindestens eine Datei aus, die importiert werden soll."));
    import.OutputFolder = Frame_UnitsList->SelectedFolder();
    if (import.OutputFolder.isEmpty())
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie das Ausgabeverzeichnis."));
    import.LanguagesFromSource = check_LanguagesFromSource->isEnabled() && check_LanguagesFromSource->isChecked();
    import.LangCodeForeign = ComboBox_Foreign->currentData().toString();
    import.LangCodeHome = ComboBox_Home->currentData().toString();
    if (import.LangCodeHome.isEmpty() || import.LangCodeForeign.isEmpty())
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie die Fremdsprache und die Muttersprache."));
    if (!import.LanguagesFromSource && import.LangCodeHome == import.LangCodeForeign)
        throw TQVL_Error(QStringLiteral("Fremdsprache und Muttersprache müssen verschieden sein."));
    if (import.Type == TQVL_Import_Type::itCSV) {
        import.CSV.Delimiter = ComboBox_Delimiter->currentData().toString().front();
        for (int i = 0; i < TQVL_Import_CSV::fFieldCount; ++i) {
            const QString text = Edit_Columns[std::size_t(i)]->text().trimmed();
            import.CSV.Columns[std::size_t(i)] = text.isEmpty() ? 0 : text.toInt();
        }
        if (std::all_of(import.CSV.Columns.begin(), import.CSV.Columns.end(), [](int column) { return column <= 0; }))
            throw TQVL_Error(QStringLiteral("Bitte geben Sie mindestens eine Spalte an, aus der ein Feld der Karten "
                                            "gelesen werden soll."));
    }
    return import;
}

void TFormUnitsImport::reject()
{
    // While files are read, "Abbruch" and Escape stop the import; the unit
    // being read is not written.
    if (importing) {
        importRun->Cancel();
        return;
    }
    TFormDialogMeta::reject();
}

void TFormUnitsImport::runImport()
{
    TQVL_Import import = Choices();
    QStringList files;
    for (int i = 0; i < List_Files->count(); ++i)
        files << List_Files->item(i)->text();
    outcomes.clear();
    List_Results->clear();
    showPage(pgResult);
    Label_Result->setText(QStringLiteral("Die Dateien werden importiert..."));
    ProgressBar_Import->setVisible(true);
    ProgressBar_Import->setValue(0);
    dxButton3->setEnabled(false);
    importing = true;
    importRun = std::make_unique<TQVL_Import_Run>(
        std::move(import), files, this, [this](int thousandths) { ProgressBar_Import->setValue(thousandths); },
        [this](const std::vector<Outcome>& result) { imported(result); });
    importRun->OnWorkerReport = OnWorkerReport;
    importRun->Start();
}

void TFormUnitsImport::imported(const std::vector<Outcome>& result)
{
    outcomes = result;
    importing = false;
    showResults();
}

void TFormUnitsImport::showResults()
{
    ProgressBar_Import->setVisible(false);
    const bool allDone =
        std::all_of(outcomes.begin(), outcomes.end(), [](const Outcome& outcome) { return outcome.Error.isEmpty(); });
    Label_Result->setText(allDone
                              ? QStringLiteral("Alle Lektionen wurde erfolgreich importiert und im Zielverzeichnis abgelegt.")
                              : QStringLiteral("Bei folgenden Dateien ist ein Fehler aufgetreten:"));
    QTreeWidgetItem* firstFailed = nullptr;
    for (const Outcome& outcome : outcomes) {
        auto* row = new QTreeWidgetItem(List_Results);
        row->setText(0, QFileInfo(outcome.File).fileName());
        row->setToolTip(0, PlainToolTip(outcome.File));
        if (outcome.Error.isEmpty()) {
            row->setText(1, QStringLiteral("%1 Karten in \"%2\"").arg(outcome.Cards).arg(QFileInfo(outcome.Unit).fileName()));
            row->setData(1, Qt::UserRole, QStringLiteral("%1 Karten in \"%2\"").arg(outcome.Cards).arg(outcome.Unit));
        } else {
            row->setText(1, causeOf(outcome.Error));
            QString whole = outcome.Error;
            whole.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            row->setData(1, Qt::UserRole, whole);
            if (!firstFailed)
                firstFailed = row;
        }
        row->setToolTip(1, PlainToolTip(row->data(1, Qt::UserRole).toString()));
    }
    List_Results->setCurrentItem(firstFailed ? firstFailed : List_Results->topLevelItem(0));
    dxButton3->setEnabled(true);
    dxButton2->setEnabled(false);
    dxButton3->setFocus();
}
