#include "ui/settings/Form_Options.h"

#include "app/QVL.h"
#include "content/QVL_LanguageCodes.h"
#include "core/QVL_Error.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "users/QVL_Options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QStringList categories = {QStringLiteral("Allgemein"), QStringLiteral("Abfrage"), QStringLiteral("Vorspielen"),
                                QStringLiteral("Lektionen"), QStringLiteral("Benutzer"),
                                QStringLiteral("Synchronisation")};
const QString noCategory = QStringLiteral("[Keine Sektion gewählt]");
const QString readOnlyMark = QStringLiteral("[Schreibgeschützt]");
const QColor stripColour = QColor(0x80, 0x86, 0x8E);

QLabel* label(const QString& text, QWidget* parent)
{
    auto* shown = new QLabel(text, parent);
    shown->setWordWrap(true);
    return shown;
}

QLineEdit* field(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QToolButton* browseButton(QWidget* parent, const char* name, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QStringLiteral("..."));
    button->setToolTip(hint);
    return button;
}

// A field with its "..." button in one row.
QHBoxLayout* browseRow(QLineEdit* edit, QToolButton* button)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(edit, 1);
    row->addWidget(button);
    return row;
}

QVBoxLayout* pageLayout(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(6);
    return layout;
}

} // namespace

TFormOptions::TFormOptions(TQVL& owner, QWidget* parent) : TFormDialogMeta(parent), core(owner)
{
    setObjectName(QStringLiteral("FormOptions"));
    Label1->setText(QStringLiteral("Programmeinstellungen"));
    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Übernehmen"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_options.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { Apply(); }); });

    VST_Categories = new QTreeWidget(Content());
    VST_Categories->setObjectName(QStringLiteral("VST_Categories"));
    VST_Categories->setHeaderHidden(true);
    VST_Categories->setRootIsDecorated(false);
    VST_Categories->setColumnCount(1);
    VST_Categories->setFixedWidth(120);
    connect(VST_Categories, &QTreeWidget::currentItemChanged, this, &TFormOptions::categoryChanged);

    auto* right = new QWidget(Content());
    right->setObjectName(QStringLiteral("Panel_Settings"));
    Panel5 = new QLabel(noCategory, right);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setAutoFillBackground(true);
    Panel5->setMargin(5);
    QPalette strip = Panel5->palette();
    strip.setColor(QPalette::Window, stripColour);
    strip.setColor(QPalette::WindowText, Qt::white);
    // The strip stays white on grey when the settings are disabled.
    strip.setColor(QPalette::Disabled, QPalette::WindowText, Qt::white);
    Panel5->setPalette(strip);
    QFont bold = Panel5->font();
    bold.setBold(true);
    Panel5->setFont(bold);

    Pages = new QStackedWidget(right);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->addWidget(generalPage());
    Pages->addWidget(queryPage());
    Pages->addWidget(playPage());
    Pages->addWidget(unitsPage());
    Pages->addWidget(usersPage());
    Pages->addWidget(syncPage());

    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(Panel5);
    rightLayout->addWidget(Pages, 1);

    auto* layout = new QHBoxLayout(Content());
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(8);
    layout->addWidget(VST_Categories);
    layout->addWidget(right, 1);

    // Another program instance that edits the options holds them: then this
    // dialog shows nothing it could not write.
    writable = core.Options->IsOpen && core.Options->RequestWriteAccess();
    if (writable)
        fill();
    right->setEnabled(writable);
    dxButton3->setEnabled(writable);
    if (!writable)
        dxButton3->setToolTip(QStringLiteral("Die Programmeinstellungen sind schreibgeschützt oder werden "
                                           "in einem anderen geöffneten Quorvel bearbeitet."));

    for (const QString& category : categories)
        new QTreeWidgetItem(VST_Categories, {category});
    VST_Categories->setCurrentItem(VST_Categories->topLevelItem(0));
}

TFormOptions::~TFormOptions()
{
    releaseWriteAccess();
}

QWidget* TFormOptions::generalPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page_General"));
    check_Updates = new QCheckBox(QStringLiteral("Automatische Suche nach Programmupdates aktivieren"), page);
    check_Updates->setObjectName(QStringLiteral("check_Updates"));
    check_SoundDisabled = new QCheckBox(QStringLiteral("Tonausgabe deaktivieren"), page);
    check_SoundDisabled->setObjectName(QStringLiteral("check_SoundDisabled"));
    check_OverviewHidden = new QCheckBox(QStringLiteral("Tagesübersicht im Hauptmenü ausblenden"), page);
    check_OverviewHidden->setObjectName(QStringLiteral("check_OverviewHidden"));
    Combo_InterfaceLanguage = new QComboBox(page);
    Combo_InterfaceLanguage->setObjectName(QStringLiteral("Combo_InterfaceLanguage"));
    Combo_InterfaceLanguage->addItem(QStringLiteral("Deutsch"));
    Combo_InterfaceLanguage->setEnabled(false);
    Combo_HomeLangCode = new QComboBox(page);
    Combo_HomeLangCode->setObjectName(QStringLiteral("Combo_HomeLangCode"));
    Combo_HomeLangCode->setMaxVisibleItems(15);

    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(check_Updates);
    layout->addWidget(check_SoundDisabled);
    layout->addWidget(check_OverviewHidden);
    layout->addSpacing(6);
    layout->addWidget(label(QStringLiteral("Sprache der Programmoberfläche:"), page));
    layout->addWidget(Combo_InterfaceLanguage, 0, Qt::AlignLeft);
    layout->addWidget(label(QStringLiteral("Eigene Sprache der Vokabeln:"), page));
    layout->addWidget(Combo_HomeLangCode, 0, Qt::AlignLeft);
    layout->addStretch(1);
    for (QComboBox* list : {Combo_InterfaceLanguage, Combo_HomeLangCode})
        list->setMinimumWidth(160);
    return page;
}

QWidget* TFormOptions::queryPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page_Query"));
    Edit_QueryDelimiter = field(page, "Edit_QueryDelimiter");
    Edit_QueryDelimiter->setMaximumWidth(80);
    Edit_QueryDelimiter->setAccessibleName(QStringLiteral("Trennzeichen für mehrere Bedeutungen"));
    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(
        label(QStringLiteral("Trennzeichen bei Eingabe unterschiedlicher Bedeutungen einer Vokabel:"), page));
    layout->addWidget(Edit_QueryDelimiter, 0, Qt::AlignLeft);
    layout->addSpacing(8);
    layout->addWidget(label(QStringLiteral("Weitere Einstellungen können Sie vor der jeweiligen Abfrage vornehmen."), page));
    layout->addStretch(1);
    return page;
}

QWidget* TFormOptions::playPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page_Play"));
    edit_play_intervall_question = field(page, "edit_play_intervall_question");
    edit_play_intervall_answer = field(page, "edit_play_intervall_answer");
    edit_play_intervall_question->setAccessibleName(QStringLiteral("Anzeigedauer der Frage in ms"));
    edit_play_intervall_answer->setAccessibleName(QStringLiteral("Anzeigedauer der Antwort in ms"));
    // Digits only (editing keys and Enter still work); five of them reach the longest time play mode can count.
    const auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), page);
    for (QLineEdit* edit : {edit_play_intervall_question, edit_play_intervall_answer}) {
        edit->setValidator(digits);
        edit->setMaxLength(5);
        edit->setFixedWidth(80);
        edit->setAlignment(Qt::AlignRight);
    }
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(label(QStringLiteral("Frage:"), page), 0, 0);
    grid->addWidget(edit_play_intervall_question, 0, 1);
    grid->addWidget(label(QStringLiteral("ms"), page), 0, 2);
    grid->addWidget(label(QStringLiteral("Antwort:"), page), 1, 0);
    grid->addWidget(edit_play_intervall_answer, 1, 1);
    grid->addWidget(label(QStringLiteral("ms"), page), 1, 2);
    grid->setColumnStretch(3, 1);
    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(label(QStringLiteral("Jeweilige Anzeigedauer beim Vorspielen:"), page));
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TFormOptions::unitsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page_Units"));
    edit_UnitsDir = field(page, "edit_UnitsDir");
    edit_UnitsDir->setAccessibleName(QStringLiteral("Verzeichnis der Lektionen"));
    Button_UnitsDir = browseButton(page, "Button_UnitsDir", QStringLiteral("Verzeichnis der Lektionen wählen"));
    connect(Button_UnitsDir, &QToolButton::clicked, this, [this] { Guarded([this] { BrowseUnitsFolder(); }); });
    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(label(QStringLiteral("Verzeichnis der Lektionen: "), page));
    layout->addLayout(browseRow(edit_UnitsDir, Button_UnitsDir));
    layout->addSpacing(8);
    layout->addWidget(label(QStringLiteral("Hinweis: In den Benutzerprofilen kann jedem Benutzer ein eigenes "
                                           "Lektions-Verzeichnis zugeordnet werden."),
                            page));
    layout->addStretch(1);
    return page;
}

QWidget* TFormOptions::usersPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page_Users"));
    edit_UserProfilesDir = field(page, "edit_UserProfilesDir");
    edit_UserProfilesDir->setAccessibleName(QStringLiteral("Verzeichnis der Benutzerprofile"));
    Button_UserProfilesDir =
        browseButton(page, "Button_UserProfilesDir", QStringLiteral("Verzeichnis der Benutzerprofile wählen"));
    connect(Button_UserProfilesDir, &QToolButton::clicked, this, [this] { Guarded([this] { BrowseUsersFolder(); }); });
    check_UserManagement_Active = new QRadioButton(QStringLiteral("Aktiv"), page);
    check_UserManagement_Active->setObjectName(QStringLiteral("check_UserManagement_Active"));
    check_UserManagement_UseProfile = new QRadioButton(QStringLiteral("Immer folgendes Benutzerprofil verwenden:"), page);
    check_UserManagement_UseProfile->setObjectName(QStringLiteral("check_UserManagement_UseProfile"));
    edit_UsersProfile = field(page, "edit_UsersProfile");
    edit_UsersProfile->setAccessibleName(QStringLiteral("Immer verwendetes Benutzerprofil"));
    Button_UsersProfile = browseButton(page, "Button_UsersProfile", QStringLiteral("Benutzerprofil wählen"));
    connect(Button_UsersProfile, &QToolButton::clicked, this, [this] { Guarded([this] { BrowseProfile(); }); });

    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(label(QStringLiteral("Verzeichnis der Benutzerprofile:"), page));
    layout->addLayout(browseRow(edit_UserProfilesDir, Button_UserProfilesDir));
    layout->addSpacing(8);
    QLabel* management = label(QStringLiteral("Benutzerverwaltung:"), page);
    QFont bold = management->font();
    bold.setBold(true);
    management->setFont(bold);
    layout->addWidget(management);
    layout->addWidget(check_UserManagement_Active);
    layout->addWidget(check_UserManagement_UseProfile);
    auto* profileRow = browseRow(edit_UsersProfile, Button_UsersProfile);
    profileRow->setContentsMargins(20, 0, 0, 0);
    layout->addLayout(profileRow);
    layout->addStretch(1);
    return page;
}

QWidget* TFormOptions::syncPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page_Sync"));
    check_Sync_Off = new QRadioButton(QStringLiteral("Aus"), page);
    check_Sync_Off->setObjectName(QStringLiteral("check_Sync_Off"));
    check_Sync_Folder = new QRadioButton(QStringLiteral("Über einen Ordner, den ein Synchronisationsprogramm abgleicht:"), page);
    check_Sync_Folder->setObjectName(QStringLiteral("check_Sync_Folder"));
    edit_SyncFolder = field(page, "edit_SyncFolder");
    edit_SyncFolder->setAccessibleName(QStringLiteral("Ordner für die Synchronisation"));
    Button_SyncFolder = browseButton(page, "Button_SyncFolder", QStringLiteral("Ordner für die Synchronisation wählen"));
    connect(Button_SyncFolder, &QToolButton::clicked, this, [this] { Guarded([this] { BrowseSyncFolder(); }); });
    connect(check_Sync_Folder, &QRadioButton::toggled, this, &TFormOptions::syncModeChanged);

    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(label(QStringLiteral("Lernstand, Lektionen und Benutzerprofil auf mehreren Rechnern abgleichen:"), page));
    layout->addWidget(check_Sync_Off);
    layout->addWidget(check_Sync_Folder);
    auto* folderRow = browseRow(edit_SyncFolder, Button_SyncFolder);
    folderRow->setContentsMargins(20, 0, 0, 0);
    layout->addLayout(folderRow);
    layout->addSpacing(8);
    layout->addWidget(label(QStringLiteral("Jeder Rechner schreibt in diesen Ordner nur seine eigenen Dateien; "
                                           "Antworten, die auf zwei Rechnern gegeben wurden, bleiben alle erhalten."),
                            page));
    layout->addStretch(1);
    syncModeChanged();
    return page;
}

void TFormOptions::syncModeChanged()
{
    const bool folder = check_Sync_Folder->isChecked();
    edit_SyncFolder->setEnabled(folder);
    Button_SyncFolder->setEnabled(folder);
}

void TFormOptions::fill()
{
    const TQVL_Options& options = *core.Options;
    const TQVL_Options_Input stored = TQVL_Options_Input::Of(options);
    edit_play_intervall_question->setText(stored.PlayQuestionIntervall);
    edit_play_intervall_answer->setText(stored.PlayAnswerIntervall);
    check_UserManagement_Active->setChecked(!stored.Autoload);
    check_UserManagement_UseProfile->setChecked(stored.Autoload);
    edit_UsersProfile->setText(stored.AutoloadProfile);
    edit_UnitsDir->setText(stored.UnitsDirectory);
    edit_UserProfilesDir->setText(stored.UsersDirectory);
    check_Updates->setChecked(stored.UpdatesAutosearch);
    check_SoundDisabled->setChecked(stored.SoundDisabled);
    check_OverviewHidden->setChecked(stored.OverviewHidden);
    check_Sync_Folder->setChecked(stored.SyncFolderMode);
    check_Sync_Off->setChecked(!stored.SyncFolderMode);
    edit_SyncFolder->setText(stored.SyncFolder);

    QStringList entries;
    // Without the code list the two named languages still remain to choose from.
    Guarded([&] { entries = TQVL_LanguageCodes::Read(TQVL_LanguageCodes::FileName(core.System->AppDataFolder)); });
    entries << QStringLiteral("Deutsch") << QStringLiteral("Englisch");
    Combo_HomeLangCode->addItems(entries);
    Combo_HomeLangCode->setCurrentIndex(int(entries.lastIndexOf(stored.HomeLanguage)));
    // A code that is not in the list is kept; the list says which one.
    if (Combo_HomeLangCode->currentIndex() < 0)
        Combo_HomeLangCode->setPlaceholderText(options.languages_langcode_home);

    Edit_QueryDelimiter->setText(stored.QueryDelimiter);
}

void TFormOptions::categoryChanged()
{
    const int row = VST_Categories->indexOfTopLevelItem(VST_Categories->currentItem());
    if (row < 0) {
        Panel5->setText(noCategory);
        return;
    }
    Pages->setCurrentIndex(row);
    Panel5->setText(writable ? categories.at(row) : categories.at(row) + QLatin1Char(' ') + readOnlyMark);
}

TQVL_Options_Input TFormOptions::Input() const
{
    TQVL_Options_Input input;
    input.UpdatesAutosearch = check_Updates->isChecked();
    input.SoundDisabled = check_SoundDisabled->isChecked();
    input.OverviewHidden = check_OverviewHidden->isChecked();
    input.HomeLanguage = Combo_HomeLangCode->currentIndex() >= 0 ? Combo_HomeLangCode->currentText() : QString();
    input.QueryDelimiter = Edit_QueryDelimiter->text();
    input.PlayQuestionIntervall = edit_play_intervall_question->text();
    input.PlayAnswerIntervall = edit_play_intervall_answer->text();
    input.UnitsDirectory = edit_UnitsDir->text();
    input.UsersDirectory = edit_UserProfilesDir->text();
    input.Autoload = check_UserManagement_UseProfile->isChecked();
    input.AutoloadProfile = edit_UsersProfile->text();
    input.SyncFolderMode = check_Sync_Folder->isChecked();
    input.SyncFolder = edit_SyncFolder->text().trimmed();
    return input;
}

void TFormOptions::Apply()
{
    if (!writable)
        return;
    Input().Apply(*core.Options, core.System->DocumentsFolder);
    accept();
}

QString TFormOptions::startFolder(const QString& typed, bool relative, const QString& fallback) const
{
    const QString documents = core.System->DocumentsFolder;
    for (const QString& candidate :
         {relative ? documents + QLatin1Char('/') + typed : typed, documents + QLatin1Char('/') + fallback, documents})
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir())
            return candidate;
    return documents;
}

void TFormOptions::BrowseUnitsFolder()
{
    const QString folder = TDialogService::Current().BrowseForFolder(
        QStringLiteral("Verzeichnis der Lektionen"), TQVL_SpecialFolder::Documents,
        startFolder(edit_UnitsDir->text(), core.Options->units_directory_relative, QStringLiteral("Units")));
    if (!folder.isEmpty())
        edit_UnitsDir->setText(folder);
}

void TFormOptions::BrowseUsersFolder()
{
    const QString folder = TDialogService::Current().BrowseForFolder(
        QStringLiteral("Verzeichnis der Benutzerprofile"), TQVL_SpecialFolder::Documents,
        startFolder(edit_UserProfilesDir->text(), core.Options->users_directory_relative, QStringLiteral("Users")));
    if (!folder.isEmpty())
        edit_UserProfilesDir->setText(folder);
}

void TFormOptions::BrowseProfile()
{
    const QString file = TDialogService::Current().OpenFileName(
        QStringLiteral("Benutzerprofil wählen"), core.Options->UsersFolder(core.System->DocumentsFolder),
        QStringLiteral("Quorvel Benutzerprofil (*.qxs)"));
    if (file.isEmpty())
        return;
    edit_UsersProfile->setText(QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
    check_UserManagement_UseProfile->setChecked(true);
}

void TFormOptions::BrowseSyncFolder()
{
    const QString typed = edit_SyncFolder->text().trimmed();
    const QString folder = TDialogService::Current().BrowseForFolder(
        QStringLiteral("Ordner für die Synchronisation"), TQVL_SpecialFolder::Documents,
        QDir::isAbsolutePath(typed) && QFileInfo(typed).isDir() ? typed : QDir::homePath());
    if (folder.isEmpty())
        return;
    edit_SyncFolder->setText(QDir::cleanPath(folder));
    check_Sync_Folder->setChecked(true);
}

void TFormOptions::done(int result)
{
    releaseWriteAccess();
    TFormDialogMeta::done(result);
}

void TFormOptions::releaseWriteAccess() noexcept
{
    if (!writable)
        return;
    writable = false;
    try {
        if (core.Options->IsOpen && core.Options->WriteAccess)
            core.Options->ReleaseWriteAccess();
    } catch (const TQVL_Error&) {
        // The read handle could not be opened again: the next start reads the file anew.
    }
}
