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
    // Only installed profiles are offered: a lesson never names a language the program cannot show.
    profiles = TQVL_LanguageMatch::Installed(core.System->AppDataFolder + QStringLiteral("/Languages"));
    Pages = new QStackedWidget(Content());
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->addWidget(typePage());
    Pages->addWidget(filesPage());
    Pages->addWidget(csvPage());
    Pages->addWidget(excelPage());
    Pages->addWidget(resultPage());
    Pages->addWidget(languagesPage());
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

QWidget* TFormUnitsImport::languagesPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = pageLayout(page);
    Label_Languages = AsPlainText(caption(QString(), page));
    Label_Languages->setObjectName(QStringLiteral("Label_Languages"));
    List_Languages = new QTreeWidget(page);
    List_Languages->setObjectName(QStringLiteral("List_Languages"));
    List_Languages->setColumnCount(3);
    List_Languages->setHeaderLabels(
        {QStringLiteral("Sprache in der Datei"), QStringLiteral("Dateien"), QStringLiteral("Sprachprofil")});
    List_Languages->setRootIsDecorated(false);
    List_Languages->setColumnWidth(0, 150);
    List_Languages->setColumnWidth(1, 60);
    List_Languages->header()->setStretchLastSection(true);
    Label_Languages->setBuddy(List_Languages);

    Label_Pick = AsPlainText(caption(QString(), page));
    Label_Pick->setObjectName(QStringLiteral("Label_Pick"));
    ComboBox_PickForeign = new QComboBox(page);
    ComboBox_PickForeign->setObjectName(QStringLiteral("ComboBox_PickForeign"));
    ComboBox_PickHome = new QComboBox(page);
    ComboBox_PickHome->setObjectName(QStringLiteral("ComboBox_PickHome"));
    auto* pick = new QGridLayout;
    pick->setHorizontalSpacing(8);
    const auto row = [&](int at, const QString& text, QComboBox* box) {
        auto* label = caption(text, page);
        label->setBuddy(box);
        pick->addWidget(label, at, 0);
        pick->addWidget(box, at, 1);
    };
    row(0, QStringLiteral("Fremdsprache:"), ComboBox_PickForeign);
    row(1, QStringLiteral("Muttersprache:"), ComboBox_PickHome);
    pick->setColumnStretch(1, 1);

    Label_OneLanguage = AsPlainText(caption(QString(), page));
    Label_OneLanguage->setObjectName(QStringLiteral("Label_OneLanguage"));
    check_CommentAsHome = new QCheckBox(QStringLiteral("Anmerkung als Muttersprache übernehmen"), page);
    check_CommentAsHome->setObjectName(QStringLiteral("check_CommentAsHome"));
    check_CommentAsHome->setChecked(true);

    layout->addWidget(Label_Languages);
    layout->addWidget(List_Languages, 1);
    layout->addWidget(Label_Pick);
    layout->addLayout(pick);
    layout->addWidget(Label_OneLanguage);
    layout->addWidget(check_CommentAsHome);
    return page;
}

void TFormUnitsImport::fillLanguages()
{
    for (const TQVL_LanguageMatch::Profile& profile : profiles.Profiles()) {
        ComboBox_Foreign->addItem(profile.Name, profile.Code);
        ComboBox_Home->addItem(profile.Name, profile.Code);
    }
    const auto preset = [](QComboBox* box, const QString& code) {
        const int at = box->findData(code);
        box->setCurrentIndex(at >= 0 ? at : (box->count() > 0 ? 0 : -1));
    };
    preset(ComboBox_Foreign, QStringLiteral("eng"));
    preset(ComboBox_Home, QStringLiteral("ger"));
}

QComboBox* TFormUnitsImport::ProfileBox(int row) const
{
    QTreeWidgetItem* item = List_Languages->topLevelItem(row);
    return item ? qobject_cast<QComboBox*>(List_Languages->itemWidget(item, 2)) : nullptr;
}

bool TFormUnitsImport::scanLanguages()
{
    scanned.clear();
    languagesChosen = false;
    TQVL_Import reader;
    reader.Type = TQVL_Import_Type::itKVTML;
    reader.Languages.Profiles = profiles;
    for (int i = 0; i < List_Files->count(); ++i) {
        const QString file = List_Files->item(i)->text();
        try {
            scanned.push_back({file, reader.FileLanguages(file)});
        } catch (const TQVL_Error&) {
            // A file that cannot be read is reported with the results of the import.
        }
    }
    const bool fromSource = check_LanguagesFromSource->isChecked();
    return std::any_of(scanned.begin(), scanned.end(), [fromSource](const FileLanguages& file) {
        return file.Languages.size() == 1 || (fromSource && file.Languages.size() > 2) ||
               std::any_of(file.Languages.begin(), file.Languages.end(),
                           [](const TQVL_Import_Language& language) { return language.Code.isEmpty(); });
    });
}

void TFormUnitsImport::fillLanguagesPage()
{
    // Each language once, however many files name it, in the order first seen.
    struct Seen
    {
        QString Key;
        QString Label;
        QString Code;
        int Files = 0;
    };
    std::vector<Seen> seen;
    QStringList oneLanguage;
    QStringList moreLanguages;
    std::vector<std::pair<QString, QString>> pickable; // key, label
    const bool fromSource = check_LanguagesFromSource->isChecked();
    for (const FileLanguages& file : scanned) {
        if (file.Languages.size() == 1)
            oneLanguage.append(QFileInfo(file.File).fileName());
        const bool more = fromSource && file.Languages.size() > 2;
        if (more)
            moreLanguages.append(QFileInfo(file.File).fileName());
        QStringList inFile;
        for (const TQVL_Import_Language& language : file.Languages) {
            const QString key = TQVL_Import_Languages::Key(language.Label);
            if (inFile.contains(key))
                continue;
            inFile.append(key);
            auto at = std::find_if(seen.begin(), seen.end(), [&key](const Seen& s) { return s.Key == key; });
            if (at == seen.end())
                at = seen.insert(seen.end(), {key, language.Label, language.Code, 0});
            ++at->Files;
            if (more &&
                std::none_of(pickable.begin(), pickable.end(), [&key](const auto& p) { return p.first == key; }))
                pickable.emplace_back(key, language.Label);
        }
    }

    List_Languages->clear();
    QTreeWidgetItem* firstMissing = nullptr;
    for (const Seen& language : seen) {
        auto* item = new QTreeWidgetItem(List_Languages);
        item->setText(0, language.Label.isEmpty() ? QStringLiteral("(ohne Namen)") : language.Label);
        item->setData(0, Qt::UserRole, language.Key);
        item->setText(1, QString::number(language.Files));
        auto* box = new QComboBox(List_Languages);
        box->setObjectName(QStringLiteral("ComboBox_Profile"));
        box->addItem(QStringLiteral("(bitte wählen)"), QString());
        for (const TQVL_LanguageMatch::Profile& profile : profiles.Profiles())
            box->addItem(profile.Name, profile.Code);
        box->setCurrentIndex(std::max(0, box->findData(language.Code)));
        box->setAccessibleName(QStringLiteral("Sprachprofil für %1").arg(item->text(0)));
        List_Languages->setItemWidget(item, 2, box);
        if (language.Code.isEmpty() && !firstMissing)
            firstMissing = item;
    }
    List_Languages->setCurrentItem(firstMissing ? firstMissing : List_Languages->topLevelItem(0));
    Label_Languages->setText(
        firstMissing ? QStringLiteral("Für einige Sprachen der Dateien ist kein Sprachprofil installiert. Bitte wählen "
                                      "Sie, als welche Sprache sie importiert werden:")
                     : QStringLiteral("Die Sprachen der Dateien werden mit diesen Sprachprofilen importiert:"));

    const auto named = [](const QStringList& files) {
        return files.size() == 1 ? QStringLiteral("Die Datei \"%1\" enthält").arg(files.front())
                                 : QStringLiteral("%1 Dateien enthalten").arg(files.size());
    };
    ComboBox_PickForeign->clear();
    ComboBox_PickHome->clear();
    for (const auto& [key, label] : pickable) {
        ComboBox_PickForeign->addItem(label, key);
        ComboBox_PickHome->addItem(label, key);
    }
    if (!pickable.empty()) {
        Label_Pick->setText(named(moreLanguages) +
                            QStringLiteral(" mehr als zwei Sprachen. Bitte wählen Sie die beiden, die importiert "
                                           "werden:"));
        // The home language of the lesson where the files have it, the first other one as the foreign language.
        const QString homeCode = ComboBox_Home->currentData().toString();
        int home = 1;
        for (std::size_t i = 0; i < pickable.size(); ++i) {
            const auto at =
                std::find_if(seen.begin(), seen.end(), [&](const Seen& s) { return s.Key == pickable[i].first; });
            if (at != seen.end() && !homeCode.isEmpty() && at->Code == homeCode) {
                home = int(i);
                break;
            }
        }
        ComboBox_PickHome->setCurrentIndex(home);
        ComboBox_PickForeign->setCurrentIndex(home == 0 ? 1 : 0);
    }
    for (QWidget* widget : std::initializer_list<QWidget*>{Label_Pick, ComboBox_PickForeign, ComboBox_PickHome})
        widget->setVisible(!pickable.empty());
    for (QLabel* label : ComboBox_PickForeign->parentWidget()->findChildren<QLabel*>())
        if (label->buddy() == ComboBox_PickForeign || label->buddy() == ComboBox_PickHome)
            label->setVisible(!pickable.empty());

    if (!oneLanguage.isEmpty())
        Label_OneLanguage->setText(
            named(oneLanguage) +
            QStringLiteral(" nur eine Sprache, zu jedem Wort höchstens eine Anmerkung (etwa einen Hinweis). Mit der "
                           "Anmerkung als Muttersprache (%1) wird daraus eine Lektion; sonst wird nicht importiert.")
                .arg(ComboBox_Home->currentText()));
    Label_OneLanguage->setVisible(!oneLanguage.isEmpty());
    check_CommentAsHome->setVisible(!oneLanguage.isEmpty());
}

void TFormUnitsImport::takeLanguages(TQVL_Import& import) const
{
    import.Languages.Profiles = profiles;
    if (!languagesChosen)
        return;
    TQVL_Import_Languages& languages = import.Languages;
    for (int i = 0; i < List_Languages->topLevelItemCount(); ++i) {
        const QString code = ProfileBox(i)->currentData().toString();
        if (!code.isEmpty())
            languages.Chosen.insert(List_Languages->topLevelItem(i)->data(0, Qt::UserRole).toString(), code);
    }
    languages.CommentAsHome = check_CommentAsHome->isChecked();
    if (!import.LanguagesFromSource)
        return;
    const auto codeOf = [&](const QString& label) { return languages.CodeOf(label); };
    if (ComboBox_PickForeign->count() > 0) {
        const QString foreign = ComboBox_PickForeign->currentText();
        const QString home = ComboBox_PickHome->currentText();
        if (ComboBox_PickForeign->currentIndex() == ComboBox_PickHome->currentIndex())
            throw TQVL_Error(QStringLiteral("Bitte wählen Sie als Fremdsprache und als Muttersprache zwei verschiedene "
                                            "Sprachen der Datei."));
        for (const QString& label : {foreign, home})
            if (codeOf(label).isEmpty())
                throw TQVL_Error(
                    QStringLiteral("Bitte wählen Sie ein Sprachprofil für die Sprache \"%1\".").arg(label));
        languages.PickForeign = codeOf(foreign);
        languages.PickHome = codeOf(home);
        if (languages.PickForeign == languages.PickHome)
            throw TQVL_Error(QStringLiteral("Fremdsprache und Muttersprache müssen verschieden sein."));
    }
    // Every language a lesson will be written with needs a profile.
    for (const FileLanguages& file : scanned) {
        if (file.Languages.size() > 2 || (file.Languages.size() == 1 && !languages.CommentAsHome))
            continue;
        for (const TQVL_Import_Language& language : file.Languages)
            if (codeOf(language.Label).isEmpty())
                throw TQVL_Error(QStringLiteral("Bitte wählen Sie ein Sprachprofil für die Sprache \"%1\" (Datei "
                                                "\"%2\").")
                                     .arg(language.Label, QFileInfo(file.File).fileName()));
    }
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
    if (page == pgLanguages)
        List_Languages->setFocus();
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
        languagesChosen = false;
        const TQVL_Import import = Choices();
        (void)import;
        if (chosenType() == TQVL_Import_Type::itCSV) {
            showPage(pgCSV);
        } else if (chosenType() == TQVL_Import_Type::itKVTML && scanLanguages()) {
            fillLanguagesPage();
            languagesChosen = true;
            showPage(pgLanguages);
        } else {
            runImport();
        }
        return;
    }
    case pgLanguages:
        (void)Choices();
        runImport();
        return;
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
    takeLanguages(import);
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
    offerToOpen();
}

void TFormUnitsImport::offerToOpen()
{
    if (outcomes.size() != 1 || !outcomes.front().Error.isEmpty())
        return;
    const QString unit = outcomes.front().Unit;
    if (!TDialogService::Current().Confirm(
            QStringLiteral("Die Lektion \"%1\" wurde angelegt. Möchten Sie sie jetzt öffnen?")
                .arg(QFileInfo(unit).fileName())))
        return;
    unitToOpen = unit;
    accept();
}
