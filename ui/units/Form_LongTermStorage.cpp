#include "ui/units/Form_LongTermStorage.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/units/Form_LongTermStorageNew.h"
#include "ui/units/Form_LongTermStorageSettings.h"
#include "ui/shell/Guarded.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Icons.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int UidRole = Qt::UserRole + 1;

QString withoutExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

} // namespace

TFormLongTermStorage::TFormLongTermStorage(QWidget* parent, TQVL& engine) : TFormMetaButton(parent), core(engine)
{
    setObjectName(QStringLiteral("FormLongTermStorage"));
    SetCaption(QStringLiteral("Langzeitspeicher"));
    SetSubCaption(QStringLiteral(
        "Während Sie mit den Lektionen bestimmte Sachverhalte gezielt üben können, dient der Langzeitspeicher zum "
        "Aufbau eines übregreifenden nachhaltigen Wortschatzes. Sie können vorhandene Inhalte Ihrer Lektionen dem "
        "Langzeitspeicher einfach hinzufügen..."));
    // The sub-caption runs over three lines.
    SetHeaderHeight(TallHeaderHeight + 24);
    Button_Ok->setText(QStringLiteral("Auswählen"));

    VST1 = new QTreeWidget(Content());
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setColumnCount(3);
    VST1->setHeaderHidden(true);
    VST1->setRootIsDecorated(false);
    VST1->setUniformRowHeights(true);
    VST1->setAllColumnsShowFocus(true);
    VST1->setSelectionMode(QAbstractItemView::SingleSelection);
    VST1->setSelectionBehavior(QAbstractItemView::SelectRows);
    VST1->header()->setStretchLastSection(true);
    VST1->header()->resizeSection(0, 21);
    VST1->header()->resizeSection(1, 150);
    VST1->header()->resizeSection(2, 250);
    connect(VST1, &QTreeWidget::itemDoubleClicked, this, [this] { Guarded([this] { SelectStorage(); }); });
    connect(VST1, &QTreeWidget::currentItemChanged, this, [this] { updateSelectButton(); });

    Button_NewStorage = new QToolButton(Content());
    Button_NewStorage->setObjectName(QStringLiteral("Button_NewStorage"));
    Button_NewStorage->setIcon(Icons::Get(QStringLiteral("storage-new")));
    Button_NewStorage->setIconSize(QSize(20, 20));
    Button_NewStorage->setToolTip(QStringLiteral("Neuen Langzeitspeicher erstellen"));
    connect(Button_NewStorage, &QToolButton::clicked, this, [this] { Guarded([this] { NewStorage(); }); });

    // An empty folder has nothing to choose: the hint names the way to a first storage.
    Label_Empty = new QLabel(
        QStringLiteral("Noch kein Langzeitspeicher vorhanden: Legen Sie mit der Schaltfläche links einen neuen an."),
        Content());
    Label_Empty->setObjectName(QStringLiteral("Label_Empty"));
    Label_Empty->setTextFormat(Qt::PlainText);
    Label_Empty->setWordWrap(true);
    Label_Empty->hide();

    Button_StorageSettings = new QToolButton(Content());
    Button_StorageSettings->setObjectName(QStringLiteral("Button_StorageSettings"));
    Button_StorageSettings->setText(QStringLiteral("Lernverfahren..."));
    Button_StorageSettings->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Button_StorageSettings->setToolTip(
        QStringLiteral("Lernverfahren und gewünschte Behaltensquote des gewählten Langzeitspeichers"));
    connect(Button_StorageSettings, &QToolButton::clicked, this, [this] { Guarded([this] { StorageSettings(); }); });
    connect(VST1, &QTreeWidget::currentItemChanged, this, [this] { enableSettings(); });

    auto* tools = new QHBoxLayout;
    tools->addWidget(Button_NewStorage);
    tools->addWidget(Button_StorageSettings);
    tools->addWidget(Label_Empty, 1);
    tools->addStretch(1);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(25, 10, 25, 0);
    layout->setSpacing(6);
    layout->addWidget(VST1, 1);
    layout->addLayout(tools);

    connect(Button_Ok, &QPushButton::clicked, this, [this] { Guarded([this] { SelectStorage(); }); });
    // Enter in the list chooses the focused storage.
    SetDefaultButton(Button_Ok);
    connect(Button_Abort, &QPushButton::clicked, this, [this] {
        Guarded([this] {
            if (OnAbort)
                OnAbort();
        });
    });
    connect(Button_Help, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_longtermstorage.html")); }); });

    Guarded([this] { Refresh(); });
}


TFormLongTermStorage::~TFormLongTermStorage() = default;

int TFormLongTermStorage::DueCount(const QString& uid) const
{
    if (!core.Users->HasActiveUser())
        return 0;
    const TQVL_Result_Unit* results = core.Users->GetActiveUser().Results().FindUnit(uid);
    int count = 0;
    if (results)
        results->CountDueToday(count);
    return count;
}

void TFormLongTermStorage::Refresh()
{
    VST1->clear();
    TQVL_Provider_Custom& provider = core.LongTermStorages->Provider();
    provider.Clear();
    provider.Scan(core.StoragesFolder());
    // Storages live directly in the folder; whatever lies in sub-folders is not one.
    const TQVL_Provider_Item_Custom& root = *provider.Root;
    for (int i = 0; i < root.ChildCount(); ++i) {
        const auto* entry = dynamic_cast<const TQVL_Provider_Item_Unit*>(root.Child(i));
        if (!entry || !entry->IsFile)
            continue;
        auto* row = new QTreeWidgetItem(VST1);
        row->setIcon(0, Icons::Get(QStringLiteral("storage")));
        row->setData(0, PathRole, entry->Path);
        row->setData(0, UidRole, entry->Uid);
        row->setText(1, withoutExtension(entry->Name));
        row->setText(2, QString::number(DueCount(entry->Uid)) +
                            QStringLiteral(" Vokabeln stehen zur heutigen Abfrage bereit"));
    }
    // The first storage takes the focus, so that Enter chooses at once.
    VST1->setCurrentItem(VST1->topLevelItem(0));
    updateSelectButton();
    enableSettings();
}

void TFormLongTermStorage::updateSelectButton()
{
    Button_Ok->setEnabled(VST1->currentItem() != nullptr);
    Label_Empty->setVisible(VST1->topLevelItemCount() == 0);
}

void TFormLongTermStorage::SelectStorage()
{
    const QTreeWidgetItem* focused = VST1->currentItem();
    if (!focused)
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie einen Langzeitspeicher aus"));
    const QString path = focused->data(0, PathRole).toString();
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (unit.IsOpen)
        unit.CloseFile();
    unit.Open(path);
    if (OnStorageChosen)
        OnStorageChosen();
}

void TFormLongTermStorage::NewStorage()
{
    {
        TFormLongTermStorageNew dialog(core, this);
        dialog.ShowModal();
    }
    Refresh();
}

void TFormLongTermStorage::enableSettings()
{
    // The settings belong to the learner's profile.
    Button_StorageSettings->setEnabled(VST1->topLevelItemCount() > 0 && core.Users->HasActiveUser());
}

void TFormLongTermStorage::StorageSettings()
{
    // Without a chosen one, the first: the dialog names the storage it sets.
    const QTreeWidgetItem* focused = VST1->currentItem() ? VST1->currentItem() : VST1->topLevelItem(0);
    if (!focused)
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie einen Langzeitspeicher aus"));
    if (!core.Users->HasActiveUser())
        return;
    const QString uid = focused->data(0, UidRole).toString();
    const QString path = focused->data(0, PathRole).toString();
    {
        TFormLongTermStorageSettings dialog(core.Users->GetActiveUser(), uid, path, focused->text(1), this);
        if (dialog.ShowModal() != QDialog::Accepted)
            return;
    }
    Refresh();
    // The learner stays on the storage he set.
    const QList<QTreeWidgetItem*> rows = VST1->findItems(QStringLiteral("*"), Qt::MatchWildcard, 1);
    for (QTreeWidgetItem* row : rows)
        if (row->data(0, UidRole).toString() == uid)
            VST1->setCurrentItem(row);
}
