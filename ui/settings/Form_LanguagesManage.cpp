#include "ui/settings/Form_LanguagesManage.h"

#include "app/QVL.h"
#include "content/QVL_Language.h"
#include "content/QVL_LanguageCodes.h"
#include "content/QVL_Provider_Item_Language.h"
#include "core/QVL_Error.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"
#include "ui/users/RightsNotice.h"
#include "users/QVL_User_Rights.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString noProfileCaption = QStringLiteral("[Kein Sprachprofil gewählt]");
const QString addText = QStringLiteral("Hinzufügen");
const QString changeText = QStringLiteral("Übernehmen");

constexpr int PathRole = Qt::UserRole;
constexpr int UidRole = Qt::UserRole + 1;
// The characters of a list row; a replacement without target holds an empty one.
constexpr int CharacterRole = Qt::UserRole + 2;

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

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in the fields belongs to these buttons, never to the dialog's "Ok".
    button->setAutoDefault(false);
    return button;
}

QLineEdit* field(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QTreeWidget* list(QWidget* parent, const char* name, const QStringList& columns)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QString::fromLatin1(name));
    tree->setRootIsDecorated(false);
    tree->setColumnCount(int(columns.size()));
    tree->setHeaderLabels(columns);
    tree->setHeaderHidden(columns.size() < 2);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    return tree;
}

QString character(const QTreeWidgetItem* row, int column)
{
    return row->data(column, CharacterRole).toString();
}

} // namespace

TFormLanguagesManage::TFormLanguagesManage(TQVL& owner, QWidget* parent) : TFormDialogMeta(parent), core(owner)
{
    setObjectName(QStringLiteral("FormLanguagesManage"));
    Label1->setText(QStringLiteral("Sprachprofile verwalten"));
    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Ok"));
    // The third button has nothing to do here: profiles are saved as the learner goes.
    dxButton3->hide();
    dxButton2->setDefault(true);
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_languages_manage.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::accept);

    // Left: the tool buttons over the profile list.
    auto* left = new QWidget(Content());
    left->setFixedWidth(151);
    Button_AddProfile =
        toolButton(left, "Button_AddProfile", QStringLiteral("card-new"), QStringLiteral("Neues Sprachprofil erstellen"));
    Button_DeleteProfile =
        toolButton(left, "Button_DeleteProfile", QStringLiteral("delete"), QStringLiteral("Sprachprofil löschen"));
    MarkDestructive(Button_DeleteProfile);
    connect(Button_AddProfile, &QToolButton::clicked, this, [this] { Guarded([this] { AddProfile(); }); });
    connect(Button_DeleteProfile, &QToolButton::clicked, this, [this] { Guarded([this] { DeleteProfile(); }); });
    VST3 = list(left, "VST3", {QString()});
    VST3->setIconSize(QSize(16, 16));
    connect(VST3, &QTreeWidget::currentItemChanged, this, &TFormLanguagesManage::currentRowChanged);
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(2);
    tools->addWidget(Button_AddProfile);
    tools->addWidget(Button_DeleteProfile);
    tools->addStretch(1);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(4);
    leftLayout->addLayout(tools);
    leftLayout->addWidget(VST3, 1);

    // Right: the caption strip over the edit panel.
    Panel5 = AsPlainText(new QLabel(noProfileCaption, Content()));
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setAutoFillBackground(true);
    Panel5->setMargin(4);
    Panel5->setWordWrap(true);
    QPalette strip = Panel5->palette();
    strip.setColor(QPalette::Window, Theme::HeaderBottom);
    strip.setColor(QPalette::WindowText, Qt::white);
    Panel5->setPalette(strip);
    QFont bold = Panel5->font();
    bold.setBold(true);
    Panel5->setFont(bold);

    Panel6 = new QWidget(Content());
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Edit1 = field(Panel6, "Edit1");
    Combo_LanguageCode = new QComboBox(Panel6);
    Combo_LanguageCode->setObjectName(QStringLiteral("Combo_LanguageCode"));
    Combo_LanguageCode->setMaxVisibleItems(15);
    PageControl1 = new QTabWidget(Panel6);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(charactersPage(), QStringLiteral("Sonderzeichen-Leiste"));
    PageControl1->addTab(replacementsPage(), QStringLiteral("Autom. Zeichenersetzung"));
    PageControl1->addTab(morePage(), QStringLiteral("Weiteres"));
    // All three tabs in sight: the dialog grows rather than hiding one behind arrows.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setElideMode(Qt::ElideNone);

    auto* head = new QGridLayout;
    head->setHorizontalSpacing(6);
    head->setVerticalSpacing(4);
    head->addWidget(new QLabel(QStringLiteral("Bezeichnung:"), Panel6), 0, 0);
    head->addWidget(Edit1, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("Sprachcode (ISO 639.2):"), Panel6), 1, 0);
    head->addWidget(Combo_LanguageCode, 1, 1, Qt::AlignLeft);
    head->setColumnStretch(1, 1);
    auto* panelLayout = new QVBoxLayout(Panel6);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(6);
    panelLayout->addLayout(head);
    panelLayout->addWidget(PageControl1, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(Panel5);
    right->addWidget(Panel6, 1);
    right->addStretch(0);

    auto* layout = new QHBoxLayout(Content());
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(8);
    layout->addWidget(left);
    layout->addLayout(right, 1);

    // The system's fonts once; each profile only sets the text.
    Combo_Font->addItems(QFontDatabase::families());

    // The pages keep their room while no profile is loaded, so the dialog does not jump.
    QSizePolicy keep = Panel6->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Panel6->setSizePolicy(keep);
    Panel6->hide();
    fillList();
    Guarded([&] { codes = TQVL_LanguageCodes::Read(TQVL_LanguageCodes::FileName(core.System->AppDataFolder)); });
    Combo_LanguageCode->addItems(codes);
}

TFormLanguagesManage::~TFormLanguagesManage() = default;

QWidget* TFormLanguagesManage::charactersPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Characters"));
    VST1 = list(page, "VST1", {QString()});
    // Accents must be told apart at a glance.
    QFont larger = VST1->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.2);
    VST1->setFont(larger);
    VST1->viewport()->installEventFilter(this);
    connect(VST1, &QTreeWidget::itemSelectionChanged, this, &TFormLanguagesManage::characterSelectionChanged);
    TntEdit1 = field(page, "TntEdit1");
    TntEdit1->installEventFilter(this);
    Button_CharSet = pushButton(page, "Button_CharSet", addText);
    Button_CharDelete = pushButton(page, "Button_CharDelete", QStringLiteral("Löschen"));
    MarkDestructive(Button_CharDelete);
    connect(Button_CharSet, &QPushButton::clicked, this, [this] { Guarded([this] { SetCharacter(); }); });
    connect(Button_CharDelete, &QPushButton::clicked, this, [this] { Guarded([this] { DeleteCharacter(); }); });
    check_CharactersShow = new QCheckBox(QStringLiteral("Anzeigen"), page);
    check_CharactersShow->setObjectName(QStringLiteral("check_CharactersShow"));

    // The tiles look like those of the main window's bar.
    KQ_ClickMatrix_Preview = new TKQ_ClickMatrix(page);
    KQ_ClickMatrix_Preview->setObjectName(QStringLiteral("KQ_ClickMatrix_Preview"));
    KQ_ClickMatrix_Preview->setFocusPolicy(Qt::NoFocus);
    KQ_ClickMatrix_Preview->SetItemWidth(19);
    KQ_ClickMatrix_Preview->SetItemHeight(19);
    TKQ_ClickMatrixPaintOptions tiles;
    tiles.ShowBorderFrame = false;
    tiles.Space_Horizontal = 2;
    tiles.Space_Vertical = 2;
    tiles.TextTop = 2;
    tiles.ItemCurveRadius = 3;
    KQ_ClickMatrix_Preview->SetPaintOptions(tiles);
    KQ_ClickMatrix_Preview->SetItemsPosition(ipLeft);
    KQ_ClickMatrix_Preview->setFixedHeight(44);
    KQ_ClickMatrix_Preview->setAutoFillBackground(true);
    QPalette bar = KQ_ClickMatrix_Preview->palette();
    bar.setColor(QPalette::Window, Theme::MainBar);
    KQ_ClickMatrix_Preview->setPalette(bar);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(TntEdit1);
    buttons->addWidget(Button_CharSet);
    buttons->addWidget(Button_CharDelete);
    buttons->addStretch(1);
    buttons->addWidget(check_CharactersShow);
    auto* top = new QHBoxLayout;
    top->addWidget(VST1, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top, 1);
    layout->addWidget(new QLabel(QStringLiteral("Vorschau der Leiste:"), page));
    layout->addWidget(KQ_ClickMatrix_Preview);
    TntEdit1->setFixedWidth(Button_CharSet->sizeHint().width());
    resetCharacterEdit();
    return page;
}

QWidget* TFormLanguagesManage::replacementsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Replacements"));
    TntEdit2 = field(page, "TntEdit2");
    TntEdit3 = field(page, "TntEdit3");
    for (QLineEdit* edit : {TntEdit2, TntEdit3}) {
        edit->installEventFilter(this);
        edit->setFixedWidth(40);
    }
    VST2 = list(page, "VST2", {QStringLiteral("Von"), QStringLiteral("Nach")});
    VST2->viewport()->installEventFilter(this);
    connect(VST2, &QTreeWidget::itemSelectionChanged, this, &TFormLanguagesManage::replacementSelectionChanged);
    Button_ReplacementSet = pushButton(page, "Button_ReplacementSet", addText);
    Button_ReplacementDelete = pushButton(page, "Button_ReplacementDelete", QStringLiteral("Löschen"));
    MarkDestructive(Button_ReplacementDelete);
    connect(Button_ReplacementSet, &QPushButton::clicked, this, [this] { Guarded([this] { SetReplacement(); }); });
    connect(Button_ReplacementDelete, &QPushButton::clicked, this,
            [this] { Guarded([this] { DeleteReplacement(); }); });
    check_UseReplacement = new QCheckBox(QStringLiteral("Aktivieren"), page);
    check_UseReplacement->setObjectName(QStringLiteral("check_UseReplacement"));

    auto* pair = new QHBoxLayout;
    pair->setSpacing(4);
    pair->addWidget(TntEdit2);
    pair->addWidget(new QLabel(QStringLiteral("→"), page));
    pair->addWidget(TntEdit3);
    pair->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    buttons->addLayout(pair);
    buttons->addWidget(Button_ReplacementSet);
    buttons->addWidget(Button_ReplacementDelete);
    buttons->addStretch(1);
    buttons->addWidget(check_UseReplacement);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(VST2, 1);
    layout->addLayout(buttons);
    resetReplacementEdit();
    return page;
}

QWidget* TFormLanguagesManage::morePage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_More"));
    Combo_Font = new QComboBox(page);
    Combo_Font->setObjectName(QStringLiteral("Combo_Font"));
    Combo_Font->setEditable(true);
    Combo_Font->setInsertPolicy(QComboBox::NoInsert);
    Combo_Font->setMaxVisibleItems(15);
    Edit_FontBig = field(page, "Edit_FontBig");
    Edit_FontSmall = field(page, "Edit_FontSmall");
    const auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), page);
    for (QLineEdit* edit : {Edit_FontBig, Edit_FontSmall}) {
        edit->setValidator(digits);
        edit->setMaxLength(3);
        edit->setFixedWidth(50);
        edit->setAlignment(Qt::AlignRight);
    }
    // An emptied size field shows the size the profile gets for it.
    connect(Edit_FontBig, &QLineEdit::editingFinished, this, [this] {
        if (Edit_FontBig->text().isEmpty())
            Edit_FontBig->setText(QString::number(TQVL_Language_Input::DefaultBigSize));
    });
    connect(Edit_FontSmall, &QLineEdit::editingFinished, this, [this] {
        if (Edit_FontSmall->text().isEmpty())
            Edit_FontSmall->setText(QString::number(TQVL_Language_Input::DefaultSmallSize));
    });
    Check_UseFont = new QCheckBox(QStringLiteral("Eigene Schrifteinstellungen verwenden"), page);
    Check_UseFont->setObjectName(QStringLiteral("Check_UseFont"));
    Edit2 = field(page, "Edit2");
    Edit3 = field(page, "Edit3");

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("Schriftart:"), page), 0, 0);
    grid->addWidget(Combo_Font, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Schriftgröße (Groß):"), page), 1, 0);
    grid->addWidget(Edit_FontBig, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Schriftgröße (Klein):"), page), 2, 0);
    grid->addWidget(Edit_FontSmall, 2, 1);
    grid->addWidget(Check_UseFont, 3, 0, 1, 3);
    auto* names = new QLabel(QStringLiteral("Weitere Bezeichnungen: "), page);
    QFont bold = names->font();
    bold.setBold(true);
    names->setFont(bold);
    grid->addWidget(names, 4, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Adjektiv:"), page), 5, 0);
    grid->addWidget(Edit2, 5, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Plural:"), page), 6, 0);
    grid->addWidget(Edit3, 6, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(7, 1);
    return page;
}

void TFormLanguagesManage::fillList()
{
    filling = true;
    VST3->clear();
    TQVL_Provider_Custom& provider = core.Languages->Provider();
    provider.Clear();
    provider.Scan(core.System->AppDataFolder + QStringLiteral("/Languages"));
    const TQVL_Provider_Item_Custom& root = *provider.Root;
    for (int i = 0; i < root.ChildCount(); ++i) {
        const auto* entry = dynamic_cast<const TQVL_Provider_Item_Language*>(root.Child(i));
        if (!entry || !entry->IsFile)
            continue;
        // A profile whose name cannot be read is still listed, by its file.
        const QString shown =
            entry->LanguageName.isEmpty() ? QFileInfo(entry->Name).completeBaseName() : entry->LanguageName;
        auto* node = new QTreeWidgetItem(VST3, {shown});
        node->setIcon(0, Icons::Get(QStringLiteral("language")));
        node->setToolTip(0, PlainToolTip(entry->Name));
        node->setData(0, PathRole, entry->Path);
        node->setData(0, UidRole, entry->Uid);
    }
    // A profile still in the pages keeps its row focused.
    if (const TQVL_Language* profile = session.Profile())
        if (QTreeWidgetItem* node = FindRowByPath(profile->FileName))
            VST3->setCurrentItem(node);
    filling = false;
}

std::optional<TFormLanguagesManage::Row> TFormLanguagesManage::RowOf(const QTreeWidgetItem* node)
{
    if (!node)
        return std::nullopt;
    return Row{node->data(0, PathRole).toString(), node->data(0, UidRole).toString(), node->text(0)};
}

QTreeWidgetItem* TFormLanguagesManage::FindRowByPath(const QString& path) const
{
    for (int i = 0; i < VST3->topLevelItemCount(); ++i)
        if (VST3->topLevelItem(i)->data(0, PathRole).toString() == path)
            return VST3->topLevelItem(i);
    return nullptr;
}

void TFormLanguagesManage::currentRowChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (filling)
        return;
    if (!Guarded([this] { CloseProfile(); })) {
        // The profile could not be saved and stays in the pages: so does the focus.
        const QSignalBlocker blocker(VST3);
        VST3->setCurrentItem(previous);
        return;
    }
    if (const std::optional<Row> row = RowOf(current))
        Guarded([this, &row] { LoadProfile(*row); });
}

bool TFormLanguagesManage::inUse(const QString& uid) const
{
    const TQVL_Language& active = core.Languages->GetActiveLanguage();
    const TQVL_Language& home = *core.Languages->HomeLanguage;
    return !uid.isEmpty() && ((active.IsOpen && active.Uid == uid) || (home.IsOpen && home.Uid == uid));
}

void TFormLanguagesManage::LoadProfile(const Row& row)
{
    if (session.Profile())
        throw TQVL_Error(QStringLiteral("a language profile is still loaded"));
    TQVL_Language& active = core.Languages->GetActiveLanguage();
    TQVL_Language& home = *core.Languages->HomeLanguage;
    QString caption = row.Shown;
    if (active.IsOpen && !row.Uid.isEmpty() && active.Uid == row.Uid) {
        session.Borrow(active);
    } else if (home.IsOpen && !row.Uid.isEmpty() && home.Uid == row.Uid) {
        session.Borrow(home);
    } else {
        auto language = std::make_unique<TQVL_Language>();
        language->Open(row.Path);
        session.Adopt(std::move(language));
    }
    if (session.IsBorrowed())
        caption += QStringLiteral(" [") + QStringLiteral("Verwendet") + QStringLiteral("]");

    const bool writable = session.RequestWriteAccess();
    if (!writable)
        caption += QLatin1Char(' ') + QStringLiteral("[Schreibgeschützt]");
    Panel5->setText(caption);
    Panel6->setEnabled(writable);
    fillControls(*session.Profile());
    Panel6->show();
}

void TFormLanguagesManage::fillControls(const TQVL_Language& language)
{
    const TQVL_Language_Input shown = TQVL_Language_Input::Of(language);
    check_CharactersShow->setChecked(shown.CharactersShow);
    check_UseReplacement->setChecked(shown.ReplacementsActive);
    Check_UseFont->setChecked(shown.FontUse);
    Combo_Font->setCurrentText(shown.FontName);
    Edit_FontSmall->setText(shown.FontSmall);
    Edit_FontBig->setText(shown.FontBig);
    Edit1->setText(shown.Name);
    Edit2->setText(shown.Adjective);
    Edit3->setText(shown.AdjectivePlural);
    Combo_LanguageCode->setCurrentIndex(int(codes.indexOf(shown.LangCode)));
    // A code that is not in the list stays stored; the list names it, greyed.
    Combo_LanguageCode->setPlaceholderText(shown.LangCode.isEmpty() ? QStringLiteral("(bitte wählen)")
                                                                    : shown.LangCode);

    VST1->clear();
    for (const QChar c : shown.Characters) {
        auto* row = new QTreeWidgetItem(VST1, {QString(c)});
        row->setData(0, CharacterRole, QString(c));
    }
    VST2->clear();
    for (const auto& [from, to] : shown.Replacements) {
        const QString target = to.isNull() ? QString() : QString(to);
        auto* row = new QTreeWidgetItem(VST2, {QString(from), target});
        row->setData(0, CharacterRole, QString(from));
        row->setData(1, CharacterRole, target);
        if (to.isNull())
            row->setToolTip(1, QStringLiteral("Für dieses Zeichen ist kein Ersatz gespeichert."));
    }
    resetCharacterEdit();
    resetReplacementEdit();
    updatePreview();
}

TQVL_Language_Input TFormLanguagesManage::Input() const
{
    TQVL_Language_Input input;
    input.Name = Edit1->text();
    input.LangCode = Combo_LanguageCode->currentIndex() >= 0 ? Combo_LanguageCode->currentText() : QString();
    input.FontUse = Check_UseFont->isChecked();
    input.FontName = Combo_Font->currentText();
    input.CharactersShow = check_CharactersShow->isChecked();
    input.FontSmall = Edit_FontSmall->text();
    input.FontBig = Edit_FontBig->text();
    input.Adjective = Edit2->text();
    input.AdjectivePlural = Edit3->text();
    for (int i = 0; i < VST1->topLevelItemCount(); ++i)
        input.Characters += character(VST1->topLevelItem(i), 0);
    input.ReplacementsActive = check_UseReplacement->isChecked();
    for (int i = 0; i < VST2->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = VST2->topLevelItem(i);
        const QString to = character(row, 1);
        input.Replacements.emplace_back(character(row, 0).front(), to.isEmpty() ? QChar() : to.front());
    }
    return input;
}

void TFormLanguagesManage::CloseProfile()
{
    session.Close([this](TQVL_Language& language) {
        try {
            Input().Save(language);
        } catch (const TQVL_Error& error) {
            throw TQVL_Error::WithCause(
                QStringLiteral("Fehler beim Speichern des Sprachprofils \"%1\"!").arg(language.Name), error.Message());
        }
        // The list and the caption show the name the profile has now.
        if (QTreeWidgetItem* node = FindRowByPath(language.FileName))
            node->setText(0, language.Name);
    });
    Panel6->hide();
    Panel5->setText(noProfileCaption);
}

void TFormLanguagesManage::done(int result)
{
    if (!Guarded([this] { CloseProfile(); }))
        return;
    Guarded([this] { reopenUnitProfiles(); });
    TFormDialogMeta::done(result);
}

void TFormLanguagesManage::reopenUnitProfiles()
{
    // The home profile first: reopening the active one lets the main window
    // rebuild its bar from both.
    if (core.Languages->HomeLanguage->IsOpen)
        core.Languages->HomeLanguage->Reload();
    if (core.Languages->GetActiveLanguage().IsOpen)
        core.Languages->GetActiveLanguage().Reload();
}

void TFormLanguagesManage::AddProfile()
{
    if (!HasRightOrNotice(*core.Users, &TQVL_User_Rights::LANGUAGES_NEW))
        return;
    CloseProfile();
    {
        const QSignalBlocker blocker(VST3);
        VST3->setCurrentItem(nullptr);
    }
    const std::optional<QString> typed = TDialogService::Current().InputText(
        QStringLiteral("Neues Sprachprofil erstellen"), QStringLiteral("Bezeichnung:"), QString());
    if (!typed)
        return;
    const QString path =
        TQVL_Languages::CreateProfile(core.System->AppDataFolder + QStringLiteral("/Languages"), *typed);
    fillList();
    // The new profile opens for its code, characters and replacements.
    if (QTreeWidgetItem* node = FindRowByPath(path)) {
        VST3->setCurrentItem(node);
        Combo_LanguageCode->setFocus();
    }
}

void TFormLanguagesManage::DeleteProfile()
{
    if (!HasRightOrNotice(*core.Users, &TQVL_User_Rights::LANGUAGES_DELETE))
        return;
    const std::optional<Row> row = RowOf(VST3->currentItem());
    if (!row)
        return;
    if (inUse(row->Uid))
        throw TQVL_Error(QStringLiteral("Profil kann nicht gelöscht werden, das es gerade verwendet wird."));
    if (!TDialogService::Current().Confirm(
            QStringLiteral("Wollen Sie wirklich das Profil \"%1\" löschen?").arg(row->Shown)))
        throw TQVL_Error(QStringLiteral("Abbruch durch Benutzer"));
    // The profile goes: whatever was typed into it goes with it.
    session.Release();
    Panel6->hide();
    Panel5->setText(noProfileCaption);
    TQVL_Languages::DeleteProfile(row->Path);
    fillList();
}

void TFormLanguagesManage::resetCharacterEdit()
{
    {
        const QSignalBlocker blocker(VST1);
        VST1->clearSelection();
        VST1->setCurrentItem(nullptr);
    }
    Button_CharSet->setText(addText);
    TntEdit1->clear();
    Button_CharDelete->setEnabled(false);
}

void TFormLanguagesManage::characterSelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = VST1->selectedItems();
    if (selected.isEmpty()) {
        resetCharacterEdit();
        return;
    }
    TntEdit1->setText(character(selected.front(), 0));
    Button_CharSet->setText(changeText);
    Button_CharDelete->setEnabled(true);
}

void TFormLanguagesManage::SetCharacter()
{
    const QChar c = TQVL_Language_Input::FirstCharacter(TntEdit1->text());
    if (c.isNull())
        return;
    const QList<QTreeWidgetItem*> selected = VST1->selectedItems();
    QTreeWidgetItem* row = selected.isEmpty() ? new QTreeWidgetItem(VST1) : selected.front();
    row->setText(0, QString(c));
    row->setData(0, CharacterRole, QString(c));
    resetCharacterEdit();
    updatePreview();
    TntEdit1->setFocus();
}

void TFormLanguagesManage::DeleteCharacter()
{
    delete VST1->currentItem();
    resetCharacterEdit();
    updatePreview();
}

void TFormLanguagesManage::resetReplacementEdit()
{
    {
        const QSignalBlocker blocker(VST2);
        VST2->clearSelection();
        VST2->setCurrentItem(nullptr);
    }
    Button_ReplacementSet->setText(addText);
    TntEdit2->clear();
    TntEdit3->clear();
    Button_ReplacementDelete->setEnabled(false);
}

void TFormLanguagesManage::replacementSelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = VST2->selectedItems();
    if (selected.isEmpty()) {
        resetReplacementEdit();
        return;
    }
    TntEdit2->setText(character(selected.front(), 0));
    TntEdit3->setText(character(selected.front(), 1));
    Button_ReplacementSet->setText(changeText);
    Button_ReplacementDelete->setEnabled(true);
}

void TFormLanguagesManage::SetReplacement()
{
    if (TntEdit2->text().trimmed().isEmpty() || TntEdit3->text().trimmed().isEmpty())
        return;
    const QChar from = TQVL_Language_Input::ReplacementSource(TntEdit2->text());
    const QChar to = TQVL_Language_Input::FirstCharacter(TntEdit3->text());
    const QList<QTreeWidgetItem*> selected = VST2->selectedItems();
    QTreeWidgetItem* row = selected.isEmpty() ? new QTreeWidgetItem(VST2) : selected.front();
    row->setText(0, QString(from));
    row->setText(1, QString(to));
    row->setData(0, CharacterRole, QString(from));
    row->setData(1, CharacterRole, QString(to));
    row->setToolTip(1, QString());
    resetReplacementEdit();
    TntEdit2->setFocus();
}

void TFormLanguagesManage::DeleteReplacement()
{
    delete VST2->currentItem();
    resetReplacementEdit();
}

void TFormLanguagesManage::updatePreview()
{
    KQ_ClickMatrix_Preview->BeginUpdate();
    KQ_ClickMatrix_Preview->Items().Clear();
    for (int i = 0; i < VST1->topLevelItemCount(); ++i)
        KQ_ClickMatrix_Preview->Items().Add(character(VST1->topLevelItem(i), 0));
    KQ_ClickMatrix_Preview->EndUpdate();
}

bool TFormLanguagesManage::eventFilter(QObject* watched, QEvent* event)
{
    // A right click on a list leaves its row and starts a new entry.
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (watched == VST1->viewport()) {
            resetCharacterEdit();
            return true;
        }
        if (watched == VST2->viewport()) {
            resetReplacementEdit();
            return true;
        }
    }
    // Enter in a field takes its character, as the button next to it does.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == TntEdit1) {
                Button_CharSet->click();
                return true;
            }
            if (watched == TntEdit2 || watched == TntEdit3) {
                Button_ReplacementSet->click();
                return true;
            }
        }
    }
    return TFormDialogMeta::eventFilter(watched, event);
}
