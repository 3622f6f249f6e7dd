#include "ui/users/Form_UsersSelect.h"

#include "content/QVL_Provider_Item_User.h"
#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "core/QVL_System.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/ShownText.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Policy.h"
#include "ui/shell/Theme.h"
#include "ui/shell/PlainText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A one-line value that shows a long path shortened in the middle; text() and the tooltip keep it whole.
class PathLabel final : public QLabel
{
public:
    explicit PathLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
        setToolTip(shown == text() ? QString() : PlainToolTip(text()));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, int(Qt::AlignLeft | Qt::AlignVCenter), shown);
    }
};

// Tile 0 of the icon list is the folder, then the four user symbols in their stored order.
QList<QIcon> tileIcons()
{
    return {Icons::Get(QStringLiteral("folder")), Icons::Get(QStringLiteral("user-1")),
            Icons::Get(QStringLiteral("user-2")), Icons::Get(QStringLiteral("user-3")),
            Icons::Get(QStringLiteral("user-4"))};
}

QLabel* detailCaption(const QString& text, QWidget* parent, const char* name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

TFormUsersSelect::TFormUsersSelect(QWidget* parent, TQVL& engine) : TFormMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormUsersSelect"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Benutzer wählen"));
    SetSubCaption(QStringLiteral("Bitte wählen Sie ein Benutzerprofil..."));

    KQ_ClickMatrix1 = new TKQ_ClickMatrix;
    KQ_ClickMatrix1->setObjectName(QStringLiteral("KQ_ClickMatrix1"));
    KQ_ClickMatrix1->SetItemWidth(TileWidth);
    KQ_ClickMatrix1->SetItemHeight(TileHeight);
    TKQ_ClickMatrixPaintOptions options;
    options.Space_Horizontal = TileSpacing;
    options.Space_Vertical = TileSpacing;
    options.ShowBorderFrame = false;
    options.TextShadow = true;
    // A light shadow lifts the dark caption off the tile.
    options.TextShadowColor = Theme::TileTextShadow;
    QFont captions = KQ_ClickMatrix1->font();
    captions.setPixelSize(11);
    options.TextFont = captions;
    KQ_ClickMatrix1->SetPaintOptions(options);
    KQ_ClickMatrix1->SetItemsPosition(ipLeft);
    KQ_ClickMatrix1->SingleClickToSelectItem = true;
    KQ_ClickMatrix1->SetHandleHoovering(true);
    KQ_ClickMatrix1->SetImageList(tileIcons());
    KQ_ClickMatrix1->onFocusItem = [this](TKQ_ClickMatrixItem* item) { focusItem(item); };
    KQ_ClickMatrix1->onSelectItem = [this](TKQ_ClickMatrixItem* item) { selectItem(item); };

    ScrollBox1 = new QScrollArea(Content());
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->viewport()->setAutoFillBackground(false);
    // Four tiles per row: the layout keeps a tile in the row while two more and their spacing would still fit.
    const int matrixWidth = 4 * TileWidth + 4 * TileSpacing + 2 * options.BorderWidth + 8;
    KQ_ClickMatrix1->setFixedSize(matrixWidth, TileMenuHeight(0));
    ScrollBox1->setWidget(KQ_ClickMatrix1);
    ScrollBox1->setFixedSize(matrixWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1),
                             TileMenuHeight(0));

    Button_FolderUp = new QToolButton(Content());
    Button_FolderUp->setObjectName(QStringLiteral("Button_FolderUp"));
    Button_FolderUp->setIcon(Icons::Get(QStringLiteral("folder-up")));
    Button_FolderUp->setIconSize(QSize(24, 24));
    Button_FolderUp->setAutoRaise(true);
    Button_FolderUp->setToolTip(QStringLiteral("Übergeordnetes Verzeichnis"));
    Button_FolderUp->hide();
    connect(Button_FolderUp, &QToolButton::clicked, this, [this] { Guarded([this] { folderUp(); }); });

    Label_LastLogin = detailCaption(QStringLiteral("Letzter Login:"), Content(), "Label_LastLogin");
    Label_LastLoginValue = new QLabel(Content());
    Label_LastLoginValue->setObjectName(QStringLiteral("Label_LastLoginValue"));
    Label_QueryTime = detailCaption(QStringLiteral("Gesamtübungszeit:"), Content(), "Label_QueryTime");
    Label_QueryTimeValue = new QLabel(Content());
    Label_QueryTimeValue->setObjectName(QStringLiteral("Label_QueryTimeValue"));
    Label_Path = detailCaption(QStringLiteral("Pfad:"), Content(), "Label_Path");
    Label_PathValue = new PathLabel(Content());
    Label_PathValue->setObjectName(QStringLiteral("Label_PathValue"));
    Label_PathValue->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label_Password = detailCaption(QStringLiteral("Bitte geben Sie das Passwort ein:"), Content(), "Label_Password");
    Edit_Password = new QLineEdit(Content());
    Edit_Password->setObjectName(QStringLiteral("Edit_Password"));
    Edit_Password->setEchoMode(QLineEdit::Password);
    Edit_Password->setFixedWidth(180);
    // Enter in the field chooses the profile again, as a click on its tile does.
    connect(Edit_Password, &QLineEdit::returnPressed, this, [this] {
        Guarded([this] {
            if (TKQ_ClickMatrixItem* item = KQ_ClickMatrix1->FocusedItem())
                KQ_ClickMatrix1->SelectItem(item);
        });
    });

    auto* details = new QGridLayout;
    details->setContentsMargins(0, 0, 0, 0);
    details->setHorizontalSpacing(12);
    details->setVerticalSpacing(6);
    details->addWidget(Label_LastLogin, 0, 0);
    details->addWidget(Label_LastLoginValue, 0, 1);
    details->addWidget(Label_QueryTime, 1, 0);
    details->addWidget(Label_QueryTimeValue, 1, 1);
    details->addWidget(Label_Path, 2, 0);
    details->addWidget(Label_PathValue, 2, 1);
    details->addWidget(Label_Password, 3, 0);
    details->addWidget(Edit_Password, 3, 1, Qt::AlignLeft);
    details->setColumnStretch(1, 1);
    // Rows keep their place while their labels come and go.
    for (int row = 0; row < 4; ++row)
        details->setRowMinimumHeight(row, Edit_Password->sizeHint().height());

    auto* lower = new QHBoxLayout;
    lower->setContentsMargins(12, 0, 12, 0);
    lower->addLayout(details, 1);
    lower->addWidget(Button_FolderUp, 0, Qt::AlignTop | Qt::AlignRight);

    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 12, 0, 8);
    layout->setSpacing(14);
    layout->addWidget(ScrollBox1, 0, Qt::AlignHCenter);
    layout->addLayout(lower);
    layout->addStretch(1);

    setPathVisible(false);
    setProfileDetailsVisible(false);
    setPasswordPromptVisible(false);
}

TFormUsersSelect::~TFormUsersSelect() = default;

int TFormUsersSelect::TileMenuHeight(int count)
{
    if (count > 8)
        return (count - 1) / 4 * 123 + 123;
    return 146;
}

void TFormUsersSelect::BeforeClose()
{
    folder.clear();
    tileEntries.clear();
    KQ_ClickMatrix1->Items().Clear();
}

void TFormUsersSelect::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        ShowFolder(core.Users->Provider().Root.get());
    // The base focuses the first tile, which shows its details.
    TFormMeta::showEvent(event);
}

const TFormUsersSelect::Tile* TFormUsersSelect::tileOf(const TKQ_ClickMatrixItem* item) const
{
    if (!item)
        return nullptr;
    const int index = KQ_ClickMatrix1->Items().IndexOf(item);
    if (index < 0 || std::size_t(index) >= tileEntries.size())
        return nullptr;
    return &tileEntries[std::size_t(index)];
}

TQVL_Provider_Item_Custom* TFormUsersSelect::entryOf(const TKQ_ClickMatrixItem* item) const
{
    const Tile* tile = tileOf(item);
    if (!tile)
        return nullptr;
    TQVL_Provider_Item_Custom* entry = core.Users->Provider().FindByPath(tile->Path);
    return entry && entry->IsFile == tile->IsFile ? entry : nullptr;
}

void TFormUsersSelect::reportGone(const Tile& tile)
{
    const Tile gone = tile;
    // The tiles show an earlier scan: bring them up to date before the message.
    if (const TQVL_Provider_Item_Custom* shown = core.Users->Provider().FindByPath(folder))
        ShowFolder(shown);
    if (gone.IsFile)
        throw TQVL_Error(QStringLiteral("Datei \"%1\" nicht gefunden!").arg(gone.Path));
    throw TQVL_Error(QStringLiteral("Das Verzeichnis \"%1\" existiert nicht.").arg(gone.Path));
}

void TFormUsersSelect::setPathVisible(bool visible)
{
    Label_Path->setVisible(visible);
    Label_PathValue->setVisible(visible);
}

void TFormUsersSelect::setProfileDetailsVisible(bool visible)
{
    Label_LastLogin->setVisible(visible);
    Label_LastLoginValue->setVisible(visible);
    Label_QueryTime->setVisible(visible);
    Label_QueryTimeValue->setVisible(visible);
}

void TFormUsersSelect::setPasswordPromptVisible(bool visible)
{
    Label_Password->setVisible(visible);
    Edit_Password->setVisible(visible);
}

void TFormUsersSelect::ShowFolder(const TQVL_Provider_Item_Custom* shown)
{
    if (!shown)
        return;
    folder = shown->Path;
    passwordRequired = false;
    setPasswordPromptVisible(false);
    setProfileDetailsVisible(false);
    setPathVisible(false);
    if (shown->ChildCount() == 0) {
        setPathVisible(true);
        Label_PathValue->setText(QStringLiteral("Keine Benutzerprofile unter \"%1\" gefunden").arg(shown->Path));
    }

    const QFontMetrics captionMetrics(KQ_ClickMatrix1->PaintOptions().TextFont.value_or(KQ_ClickMatrix1->font()));
    KQ_ClickMatrix1->BeginUpdate();
    KQ_ClickMatrix1->Items().Clear();
    tileEntries.clear();
    for (int i = 0; i < shown->ChildCount(); ++i) {
        TQVL_Provider_Item_Custom* entry = shown->Child(i);
        QString caption = entry->Name;
        int icon = 0;
        if (auto* profile = dynamic_cast<TQVL_Provider_Item_User*>(entry); profile && entry->IsFile) {
            profile->ReloadWholeHeader();
            caption = profile->UserName;
            icon = profile->Icon + 1;
        }
        tileEntries.push_back({entry->Path, entry->IsFile});
        TKQ_ClickMatrixItem* tile = KQ_ClickMatrix1->Items().Add();
        tile->SetIconTyp(tiiExternal);
        tile->SetIconIndex(icon);
        tile->SetCaption(captionMetrics.elidedText(ShownText(caption), Qt::ElideRight, TileWidth - 8));
    }
    KQ_ClickMatrix1->EndUpdate();
    KQ_ClickMatrix1->setFixedHeight(TileMenuHeight(shown->ChildCount()));
    ScrollBox1->verticalScrollBar()->setValue(0);
    Button_FolderUp->setVisible(shown->Parent != nullptr);
}

void TFormUsersSelect::focusItem(TKQ_ClickMatrixItem* item)
{
    passwordRequired = false;
    setPasswordPromptVisible(false);
    setProfileDetailsVisible(false);
    Label_LastLoginValue->clear();
    Label_QueryTimeValue->clear();
    Edit_Password->clear();

    TQVL_Provider_Item_Custom* entry = entryOf(item);
    if (!entry) {
        setPathVisible(false);
        return;
    }
    // A tile reached with the keyboard may lie below the visible rows.
    const QRect tile = item->Rect();
    ScrollBox1->ensureVisible(tile.center().x(), tile.center().y(), 0, tile.height() / 2 + TileSpacing / 2);
    setPathVisible(core.Options->users_select_showpath);
    Label_PathValue->setText(entry->Path);

    auto* profile = dynamic_cast<TQVL_Provider_Item_User*>(entry);
    if (!entry->IsFile || !profile) {
        setPathVisible(true);
        return;
    }
    profile->ReloadWholeHeader();
    setProfileDetailsVisible(true);
    Label_LastLoginValue->setText(profile->LastLogin.IsEmpty() ? QStringLiteral("Noch keinmal eingeloggt.")
                                                               : profile->LastLogin.ToText());
    Label_QueryTimeValue->setText(TQVL_System::DurationText(profile->AllTimeQuerySeconds));
    if (TQVL_User_Policy::AsksPassword(profile->Password)) {
        passwordRequired = true;
        setPasswordPromptVisible(true);
        Edit_Password->clear();
    }
}

void TFormUsersSelect::selectItem(TKQ_ClickMatrixItem* item)
{
    const Tile* shown = tileOf(item);
    if (!shown)
        return;
    const Tile tile = *shown;
    TQVL_Provider_Item_Custom* entry = entryOf(item);
    if (!entry)
        reportGone(tile);
    if (!entry->IsFile) {
        ShowFolder(entry);
        return;
    }
    if (!dynamic_cast<TQVL_Provider_Item_User*>(entry))
        return;

    auto* profile = dynamic_cast<TQVL_Provider_Item_User*>(entry);

    // Decided on the header as it is on disk now, read to its end.
    profile->ReloadWholeHeader();
    if (TQVL_User_Policy::AsksPassword(profile->Password)) {
        if (!passwordRequired) {
            passwordRequired = true;
            setPasswordPromptVisible(true);
        }
        if (!TQVL_User_Policy::MayLogIn(profile->Password, Edit_Password->text())) {
            Edit_Password->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    TQVL_User& user = core.Users->GetActiveUser();
    const QString typed = Edit_Password->text();
    // The login's listeners switch screens: this one may be gone afterwards.
    const QPointer<TFormUsersSelect> alive(this);
    try {
        user.Open(profile->Path);
        // A digest of an earlier version becomes Argon2id with the next save.
        if (user.IsOpen)
            user.UpgradePassword(typed);
    } catch (...) {
        // Opened, but a listener of the open failed: the profile is in use all the same.
        if (alive && user.IsOpen)
            finish();
        throw;
    }
    if (alive)
        finish();
}

void TFormUsersSelect::finish()
{
    folder.clear();
    tileEntries.clear();
    KQ_ClickMatrix1->Items().Clear();
    core.Users->Provider().Clear();
    ReleaseLater();
}

void TFormUsersSelect::folderUp()
{
    const TQVL_Provider_Item_Custom* shown = core.Users->Provider().FindByPath(folder);
    if (shown && shown->Parent)
        ShowFolder(shown->Parent);
}
