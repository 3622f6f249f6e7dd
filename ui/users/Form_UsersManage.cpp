#include "ui/users/Form_UsersManage.h"

#include "content/QVL_Provider_Item_User.h"
#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "core/QVL_System.h"
#include "query/QVL_Result_User.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Icons.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Policy.h"
#include "users/QVL_User_Rights.h"
#include "ui/shell/Theme.h"
#include "ui/shell/PlainText.h"
#include "ui/users/RightsNotice.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace {

const QString noProfileCaption = QStringLiteral("[Kein Benutzerprofil gewählt]");
const QString cancelled = QStringLiteral("Abbruch durch Benutzer!");

// Node data of the profile tree and the rights tree.
constexpr int PathRole = Qt::UserRole;
constexpr int RightRole = Qt::UserRole + 1;
constexpr int ValueRole = Qt::UserRole + 2;
constexpr int NameRole = Qt::UserRole + 3;
constexpr int UidRole = Qt::UserRole + 4;
constexpr int IsFileRole = Qt::UserRole + 5;

// The rights tree: four groups with their rights, then the top-level rights.
struct RightsGroup
{
    const char* Caption;
    QList<TQVL_Right> Rights;
};
const QList<RightsGroup>& rightsLayout()
{
    using R = TQVL_User_Rights;
    static const QList<RightsGroup> layout = {
        {"Benutzerprofile",
         {&R::USERPROFILES_EDIT_SELF, &R::USERPROFILES_EDIT_SELT_RIGHTS, &R::USERPROFILES_EDIT_OTHER,
          &R::USERPROFILES_EDIT_RESULTS, &R::USERPROFILES_DELETE, &R::USERPROFILES_NEW}},
        {"Lektionen", {&R::UNITS_NEW, &R::UNITS_EDIT}},
        {"Abfrage", {&R::QUERY_SELFASSESSMENT, &R::QUERY_OPTIONS}},
        {"Sprachprofile", {&R::LANGUAGES_EDIT, &R::LANGUAGES_NEW, &R::LANGUAGES_DELETE}},
        {nullptr, {&R::PROGRAM_OPTIONS_EDIT, &R::PROGRAM_UPDATES, &R::INTERNET, &R::PRINT}},
    };
    return layout;
}

QLabel* fieldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLineEdit* passwordField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEchoMode(QLineEdit::Password);
    // One "*" per character, whatever the style's own mask character is.
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    return edit;
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& icon, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(Icons::Get(icon));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    return button;
}

} // namespace

TFormUsersManage::TFormUsersManage(TQVL& engine, QWidget* parent)
    : TFormDialogMeta(parent), core(engine), noRights(std::make_unique<TQVL_User_Rights>())
{
    setObjectName(QStringLiteral("FormUsersManage"));
    Label1->setText(QStringLiteral("Benutzerprofile verwalten"));
    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Ok"));
    dxButton3->hide();
    dxButton2->setDefault(true);
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_users_manage.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::accept);

    // Left: the tool buttons over the profile tree.
    ToolButton_NewProfile = toolButton(Content(), "ToolButton_NewProfile", QStringLiteral("user-new"),
                                       QStringLiteral("Neues Benutzerprofil erstellen"));
    ToolButton_NewFolder = toolButton(Content(), "ToolButton_NewFolder", QStringLiteral("folder-new"),
                                      QStringLiteral("Neues Verzeichnis anlegen"));
    ToolButton_Delete = toolButton(Content(), "ToolButton_Delete", QStringLiteral("delete"),
                                   QStringLiteral("Benutzerprofil löschen"));
    MarkDestructive(ToolButton_Delete);
    connect(ToolButton_NewProfile, &QToolButton::clicked, this, [this] { Guarded([this] { NewProfile(); }); });
    connect(ToolButton_NewFolder, &QToolButton::clicked, this, [this] { Guarded([this] { NewFolder(); }); });
    connect(ToolButton_Delete, &QToolButton::clicked, this, [this] { Guarded([this] { DeleteEntry(); }); });

    VST1 = new QTreeWidget(Content());
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setHeaderHidden(true);
    VST1->setColumnCount(1);
    VST1->setIconSize(QSize(16, 16));
    VST1->setFixedWidth(150);
    connect(VST1, &QTreeWidget::currentItemChanged, this, &TFormUsersManage::currentNodeChanged);

    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(2);
    tools->addWidget(ToolButton_NewProfile);
    tools->addWidget(ToolButton_NewFolder);
    tools->addWidget(ToolButton_Delete);
    tools->addStretch(1);
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addLayout(tools);
    left->addWidget(VST1, 1);

    // Right: the caption strip over the edit pages.
    TntPanel1 = AsPlainText(new QLabel(Content()));
    TntPanel1->setObjectName(QStringLiteral("TntPanel1"));
    TntPanel1->setAutoFillBackground(true);
    TntPanel1->setMargin(4);
    TntPanel1->setWordWrap(true);
    QPalette strip = TntPanel1->palette();
    strip.setColor(QPalette::Window, Theme::HeaderBottom);
    strip.setColor(QPalette::WindowText, Qt::white);
    TntPanel1->setPalette(strip);
    QFont bold = TntPanel1->font();
    bold.setBold(true);
    TntPanel1->setFont(bold);

    Panel6 = new QWidget(Content());
    Panel6->setObjectName(QStringLiteral("Panel6"));
    PageControl1 = new QTabWidget(Panel6);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* basics = new QWidget;
    basics->setObjectName(QStringLiteral("TabSheet_Basics"));
    buildBasicsPage(basics);
    PageControl1->addTab(basics, QStringLiteral("Grundeinstellungen"));

    auto* rightsPage = new QWidget;
    rightsPage->setObjectName(QStringLiteral("TabSheet_Rights"));
    VST2 = new QTreeWidget(rightsPage);
    VST2->setObjectName(QStringLiteral("VST2"));
    VST2->setHeaderHidden(true);
    VST2->setColumnCount(1);
    VST2->setIconSize(QSize(16, 16));
    connect(VST2, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* node) { Guarded([&] { ToggleRight(node); }); });
    auto* rightsLayoutBox = new QVBoxLayout(rightsPage);
    rightsLayoutBox->setContentsMargins(4, 4, 4, 4);
    rightsLayoutBox->addWidget(VST2);
    buildRightsTree();
    PageControl1->addTab(rightsPage, QStringLiteral("Rechte"));

    auto* resultsPage = new QWidget;
    resultsPage->setObjectName(QStringLiteral("TabSheet_Results"));
    Label_Results = new QLabel(QStringLiteral("Abfrageergebnisse"), resultsPage);
    Label_Results->setObjectName(QStringLiteral("Label_Results"));
    Label_Results->setFont(bold);
    Button_DeleteCardResults = new QPushButton(QStringLiteral("Einzelergebnisse der Vokabeln löschen"), resultsPage);
    MarkDestructive(Button_DeleteCardResults);
    Button_DeleteCardResults->setObjectName(QStringLiteral("Button_DeleteCardResults"));
    Button_DeleteAllResults = new QPushButton(QStringLiteral("Alle Abfrageergebnisse löschen"), resultsPage);
    MarkDestructive(Button_DeleteAllResults);
    Button_DeleteAllResults->setObjectName(QStringLiteral("Button_DeleteAllResults"));
    connect(Button_DeleteCardResults, &QPushButton::clicked, this, [this] { Guarded([this] { DeleteCardResults(); }); });
    connect(Button_DeleteAllResults, &QPushButton::clicked, this, [this] { Guarded([this] { DeleteAllResults(); }); });
    auto* resultsLayout = new QVBoxLayout(resultsPage);
    resultsLayout->setContentsMargins(10, 10, 10, 10);
    resultsLayout->setSpacing(8);
    resultsLayout->addWidget(Label_Results);
    resultsLayout->addWidget(Button_DeleteCardResults, 0, Qt::AlignLeft);
    resultsLayout->addWidget(Button_DeleteAllResults, 0, Qt::AlignLeft);
    resultsLayout->addStretch(1);
    PageControl1->addTab(resultsPage, QStringLiteral("Ergebnisse"));

    auto* panelLayout = new QVBoxLayout(Panel6);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(PageControl1);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(TntPanel1);
    right->addWidget(Panel6, 1);
    right->addStretch(0);

    auto* layout = new QHBoxLayout(Content());
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(8);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    Edit4->clear();
    Edit5->clear();
    TntPanel1->setText(noProfileCaption);
    Panel6->hide();
    rescan();
    fillTree();
    PasswordEdited = false;
}

TFormUsersManage::~TFormUsersManage() = default;

void TFormUsersManage::buildBasicsPage(QWidget* page)
{
    Edit1 = new QLineEdit(page);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit3 = new QLineEdit(page);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit4 = passwordField(page, "Edit4");
    Edit5 = passwordField(page, "Edit5");
    for (QLineEdit* edit : {Edit4, Edit5})
        connect(edit, &QLineEdit::textEdited, this, [this] { PasswordEdited = true; });
    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    const QStringList symbols = {QStringLiteral("Männlich"), QStringLiteral("Weiblich"), QStringLiteral("Männlich 2"),
                                 QStringLiteral("Männlich 3")};
    for (int i = 0; i < symbols.size(); ++i)
        ComboBox1->addItem(Icons::Get(QStringLiteral("user-%1").arg(i + 1)), symbols.at(i));
    Edit2 = new QLineEdit(page);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Button_BrowseUnits = new QToolButton(page);
    Button_BrowseUnits->setObjectName(QStringLiteral("Button_BrowseUnits"));
    Button_BrowseUnits->setText(QStringLiteral("..."));
    connect(Button_BrowseUnits, &QToolButton::clicked, this, [this] { Guarded([this] { BrowseUnitsFolder(); }); });

    // The identifier has 38 characters; a slightly smaller font shows it whole.
    QFont small = Edit1->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Edit1->setFont(small);

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(fieldLabel(QStringLiteral("ID:"), page), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(fieldLabel(QStringLiteral("Name:"), page), 1, 0);
    grid->addWidget(Edit3, 1, 1);
    grid->addWidget(fieldLabel(QStringLiteral("Passwort:"), page), 2, 0);
    grid->addWidget(Edit4, 2, 1);
    grid->addWidget(fieldLabel(QStringLiteral("(Wdh.:)"), page), 3, 0);
    grid->addWidget(Edit5, 3, 1);
    grid->addWidget(fieldLabel(QStringLiteral("Symbol:"), page), 4, 0);
    grid->addWidget(ComboBox1, 4, 1);
    grid->addWidget(fieldLabel(QStringLiteral("Eigenes Lektionsverzeichnis:"), page), 5, 0, 1, 2);
    auto* unitsRow = new QHBoxLayout;
    unitsRow->setSpacing(4);
    unitsRow->addWidget(Edit2, 1);
    unitsRow->addWidget(Button_BrowseUnits);
    grid->addLayout(unitsRow, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
}

void TFormUsersManage::buildRightsTree()
{
    const auto& table = TQVL_User_Rights::Table();
    for (const RightsGroup& group : rightsLayout()) {
        QTreeWidgetItem* parent = nullptr;
        if (group.Caption) {
            parent = new QTreeWidgetItem(VST2, {QString::fromUtf8(group.Caption)});
            parent->setData(0, RightRole, -1);
        }
        for (TQVL_Right right : group.Rights) {
            const int index = TQVL_User_Rights::IndexOf(right);
            auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(VST2);
            node->setText(0, QString::fromUtf8(table[std::size_t(index)].Caption));
            node->setData(0, RightRole, index);
            setRightNode(node, false);
        }
    }
    VST2->expandAll();
}

void TFormUsersManage::setRightNode(QTreeWidgetItem* node, bool value)
{
    node->setData(0, ValueRole, value);
    node->setIcon(0, Icons::Get(value ? QStringLiteral("check-on") : QStringLiteral("check-off")));
}

void TFormUsersManage::fillRightsTree(const TQVL_User_Rights& rights)
{
    const auto& table = TQVL_User_Rights::Table();
    for (QTreeWidgetItemIterator it(VST2); *it; ++it) {
        const int index = (*it)->data(0, RightRole).toInt();
        if (index >= 0)
            setRightNode(*it, rights.*table[std::size_t(index)].Flag);
    }
}

void TFormUsersManage::RightsFromTree(TQVL_User_Rights& rights) const
{
    const auto& table = TQVL_User_Rights::Table();
    for (QTreeWidgetItemIterator it(VST2); *it; ++it) {
        const int index = (*it)->data(0, RightRole).toInt();
        if (index >= 0)
            rights.*table[std::size_t(index)].Flag = (*it)->data(0, ValueRole).toBool();
    }
}

bool TFormUsersManage::ToggleRight(QTreeWidgetItem* node)
{
    if (!node || node->data(0, RightRole).toInt() < 0)
        return false;
    setRightNode(node, !node->data(0, ValueRole).toBool());
    return true;
}

const TQVL_User_Rights& TFormUsersManage::loggedInRights() const
{
    const TQVL_Users& users = *core.Users;
    return users.HasActiveUser() ? users.GetActiveUser().Rights() : *noRights;
}

bool TFormUsersManage::isLoggedInUser(const QString& uid) const
{
    const TQVL_Users& users = *core.Users;
    return users.HasActiveUser() && !uid.isEmpty() && users.GetActiveUser().Uid == uid;
}

void TFormUsersManage::rescan()
{
    TQVL_Provider_Custom& provider = core.Users->Provider();
    provider.Clear();
    provider.Scan(core.Options->UsersFolder(core.System->DocumentsFolder));
}

void TFormUsersManage::fillTree()
{
    filling = true;
    VST1->clear();
    const std::function<void(const TQVL_Provider_Item_Custom&, QTreeWidgetItem*)> add =
        [&](const TQVL_Provider_Item_Custom& folder, QTreeWidgetItem* parent) {
            for (int i = 0; i < folder.ChildCount(); ++i) {
                TQVL_Provider_Item_Custom* entry = folder.Child(i);
                auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(VST1);
                node->setData(0, PathRole, entry->Path);
                node->setData(0, NameRole, entry->Name);
                node->setData(0, IsFileRole, entry->IsFile && dynamic_cast<TQVL_Provider_Item_User*>(entry));
                node->setToolTip(0, PlainToolTip(entry->Path));
                auto* user = dynamic_cast<TQVL_Provider_Item_User*>(entry);
                if (entry->IsFile && user) {
                    // The list read only the first bytes of each profile.
                    user->ReloadWholeHeader();
                    node->setData(0, UidRole, user->Uid);
                    node->setText(0, user->UserName);
                    node->setIcon(0, Icons::Get(QStringLiteral("user-1")));
                } else {
                    node->setText(0, entry->Name);
                    node->setIcon(0, Icons::Get(QStringLiteral("folder")));
                    add(*entry, node);
                }
            }
        };
    add(*core.Users->Provider().Root, nullptr);
    VST1->expandAll();
    // A profile still in the pages keeps its node focused.
    if (const TQVL_User* profile = session.Profile()) {
        if (QTreeWidgetItem* node = FindNodeByPath(profile->FileName))
            VST1->setCurrentItem(node);
    }
    filling = false;
}

std::optional<TFormUsersManage::Row> TFormUsersManage::RowOf(const QTreeWidgetItem* node)
{
    if (!node)
        return std::nullopt;
    return Row{node->data(0, PathRole).toString(), node->data(0, NameRole).toString(),
               node->data(0, UidRole).toString(), node->text(0), node->data(0, IsFileRole).toBool()};
}

QTreeWidgetItem* TFormUsersManage::FindNodeByPath(const QString& path) const
{
    for (QTreeWidgetItemIterator it(VST1); *it; ++it)
        if ((*it)->data(0, PathRole).toString() == path)
            return *it;
    return nullptr;
}

QTreeWidgetItem* TFormUsersManage::FindNodeByUid(const QString& uid) const
{
    for (QTreeWidgetItemIterator it(VST1); *it; ++it) {
        const std::optional<Row> row = RowOf(*it);
        if (row->IsFile && row->Uid == uid)
            return *it;
    }
    return nullptr;
}

QString TFormUsersManage::CurrentFolder() const
{
    if (const QTreeWidgetItem* node = VST1->currentItem()) {
        if (!RowOf(node)->IsFile)
            return RowOf(node)->Path;
        if (node->parent())
            return RowOf(node->parent())->Path;
    }
    return core.Users->Provider().Root->Path;
}

void TFormUsersManage::currentNodeChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (filling)
        return;
    if (!Guarded([this] { CloseProfile(); })) {
        // The profile could not be saved and stays in the pages: so does the focus.
        const QSignalBlocker blocker(VST1);
        VST1->setCurrentItem(previous);
        return;
    }
    const std::optional<Row> entry = RowOf(current);
    if (entry && entry->IsFile)
        Guarded([this, &entry] { LoadProfile(*entry); });
}

void TFormUsersManage::setEditable(bool value)
{
    editable = value;
    for (QWidget* field : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit4),
                           static_cast<QWidget*>(Edit5), static_cast<QWidget*>(Edit2),
                           static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(Button_BrowseUnits)})
        field->setEnabled(value);
}

void TFormUsersManage::LoadProfile(const Row& entry)
{
    if (session.Profile())
        throw TQVL_Error(QStringLiteral("a profile is still loaded"));
    const bool own = isLoggedInUser(entry.Uid);
    const TQVL_User_Policy::ProfileAccess access = TQVL_User_Policy::ForProfile(loggedInRights(), own);
    QString caption = entry.UserName;

    if (own) {
        session.Borrow(core.Users->GetActiveUser());
        caption += QStringLiteral(" [") + QStringLiteral("Angemeldet") + QStringLiteral("]");
    } else {
        auto user = std::make_unique<TQVL_User>();
        if (access.MayOpenUnguarded)
            user->IntegrityGuard = false;
        try {
            user->Open(entry.Path);
        } catch (...) {
            CloseProfile();
            throw;
        }
        // Every save writes the companion again.
        user->IntegrityGuard = true;
        session.Adopt(std::move(user));
    }
    const TQVL_User& profile = *session.Profile();

    if (!access.MayEdit)
        caption += QLatin1Char(' ') + QStringLiteral("[Keine Rechte zum Bearbeiten]");
    // With read-only user files the editor must not write either, so it does not take write access.
    const bool writable = session.RequestWriteAccess(!core.Options->userfiles_readonly);
    if (!writable)
        caption += QLatin1Char(' ') + QStringLiteral("[Schreibgeschützt]");

    TntPanel1->setText(caption);
    setEditable(access.MayEdit && writable);
    VST2->setEnabled(writable && access.MayEditRights);
    Button_DeleteCardResults->setEnabled(writable && access.MayDeleteResults);
    Button_DeleteAllResults->setEnabled(writable && access.MayDeleteResults);
    Panel6->show();

    const TQVL_User_Input shown = TQVL_User_Input::Of(profile);
    Edit1->setText(profile.Uid);
    Edit3->setText(shown.Name);
    ComboBox1->setCurrentIndex(shown.Icon >= 0 && shown.Icon < ComboBox1->count() ? shown.Icon : -1);
    Edit4->setText(shown.Password);
    Edit5->setText(shown.PasswordRepeat);
    Edit2->setText(shown.UnitsDirectory);
    fillRightsTree(shown.Rights);
    PasswordEdited = false;
}

TQVL_User_Input TFormUsersManage::Input() const
{
    TQVL_User_Input input;
    input.Name = Edit3->text();
    input.Icon = ComboBox1->currentIndex();
    input.PasswordEdited = PasswordEdited;
    input.Password = Edit4->text();
    input.PasswordRepeat = Edit5->text();
    input.UnitsDirectory = Edit2->text();
    RightsFromTree(input.Rights);
    return input;
}

void TFormUsersManage::SaveProfile()
{
    const TQVL_User_Input input = Input();
    input.Validate();
    TQVL_User* profile = session.Profile();
    if (!profile || !profile->WriteAccess)
        return;
    input.Apply(*profile);
}

void TFormUsersManage::CloseProfile()
{
    if (session.Profile()) {
        // Checked even where nothing is written: a refusal keeps the profile loaded.
        Input().Validate();
        session.Close([this](TQVL_User&) { SaveProfile(); });
    }
    editable = false;
    Panel6->hide();
    TntPanel1->setText(noProfileCaption);
}

void TFormUsersManage::done(int result)
{
    if (!Guarded([this] { CloseProfile(); }))
        return;
    TFormDialogMeta::done(result);
}

void TFormUsersManage::NewProfile()
{
    if (!HasRightOrNotice(*core.Users, &TQVL_User_Rights::USERPROFILES_NEW))
        return;
    CloseProfile();
    const std::optional<QString> typed = TDialogService::Current().InputText(
        QStringLiteral("Neues Benutzerprofil erstellen"), QStringLiteral("Bezeichnung:"), QString());
    if (!typed)
        return;
    const QString uid = core.Users->CreateProfile(CurrentFolder(), *typed);
    rescan();
    fillTree();
    if (QTreeWidgetItem* node = FindNodeByUid(uid))
        VST1->setCurrentItem(node);
}

void TFormUsersManage::NewFolder()
{
    if (!HasRightOrNotice(*core.Users, &TQVL_User_Rights::USERPROFILES_NEW))
        return;
    const std::optional<QString> typed = TDialogService::Current().InputText(
        QStringLiteral("Neues Verzeichnis erstellen"), QStringLiteral("Bezeichnung:"), QString());
    if (!typed)
        return;
    TQVL_Users::CheckProfileName(*typed);
    const QString path = CurrentFolder() + QLatin1Char('/') + *typed;
    if (!QDir().mkpath(path))
        throw TQVL_Error(QStringLiteral("Das Verzeichnis \"%1\" konnte nicht angelegt werden!").arg(path));
    rescan();
    fillTree();
}

void TFormUsersManage::DeleteEntry()
{
    if (!HasRightOrNotice(*core.Users, &TQVL_User_Rights::USERPROFILES_DELETE))
        return;
    const std::optional<Row> entry = RowOf(VST1->currentItem());
    if (!entry)
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie zunächst das zu löschende Benutzerprofil oder Verzeichnis"));
    const QString path = entry->Path;
    if (entry->IsFile) {
        if (isLoggedInUser(entry->Uid))
            throw TQVL_Error(QStringLiteral(
                "Das Benutzerprofil, unter dem Sie momentan angemeldet sind, kann nicht gelöscht werden!"));
        if (!TDialogService::Current().Confirm(
                QStringLiteral("Wollen Sie wirklich das Benutzerprofil \"%1\" löschen?").arg(entry->Name)))
            throw TQVL_Error(cancelled);
        CloseProfile();
        TQVL_Users::DeleteProfile(path);
    } else {
        // Files that are no profiles keep a folder from being removed, too.
        if (VST1->currentItem()->childCount() > 0 || !QDir().rmdir(path))
            throw TQVL_Error(QStringLiteral("Nur leere Verzeichnisse können gelöscht werden"));
    }
    rescan();
    fillTree();
}

void TFormUsersManage::DeleteCardResults()
{
    TQVL_User* profile = session.Profile();
    if (!profile)
        return;
    if (!TDialogService::Current().Confirm(QStringLiteral("Wollen Sie wirklich alle Einzelergebnisse löschen?")))
        throw TQVL_Error(cancelled);
    profile->DeleteResults(false);
}

void TFormUsersManage::DeleteAllResults()
{
    TQVL_User* profile = session.Profile();
    if (!profile)
        return;
    if (!TDialogService::Current().Confirm(QStringLiteral("Wollen Sie wirklich alle Abfrageergebnisse löschen?")))
        throw TQVL_Error(cancelled);
    profile->DeleteResults(true);
}

void TFormUsersManage::BrowseUnitsFolder()
{
    const QString folder = TDialogService::Current().BrowseForFolder(
        QStringLiteral("Eigenes Lektionsverzeichnis festlegen"), TQVL_SpecialFolder::Documents, core.System->DocumentsFolder);
    if (!folder.isEmpty())
        Edit2->setText(folder);
}
