#include "ui/units/Form_UnitsSelect.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/FitToText.h"
#include "ui/units/Frame_Units_List.h"
#include "ui/shell/Guarded.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Icons.h"
#include "ui/units/Model_Units.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <functional>

namespace {

// The unit list: Enter chooses the focused row, and typing searches the
// names whichever cell of the row has the focus.
class UnitsTree final : public QTreeView
{
public:
    explicit UnitsTree(QWidget* parent) : QTreeView(parent) {}

    void keyboardSearch(const QString& search) override
    {
        const QModelIndex current = currentIndex();
        if (current.isValid() && current.column() != TModelUnits::colName)
            selectionModel()->setCurrentIndex(current.siblingAtColumn(TModelUnits::colName),
                                              QItemSelectionModel::NoUpdate);
        QTreeView::keyboardSearch(search);
    }

    std::function<void()> OnEnter;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && OnEnter) {
            event->accept();
            OnEnter();
            return;
        }
        QTreeView::keyPressEvent(event);
    }
};

} // namespace

TFormUnitsSelect::TFormUnitsSelect(QWidget* parent, TQVL& engine) : TFormMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormUnitsSelect"));
    SetCaption(QStringLiteral("Lektion auswählen..."));
    SetSubCaption(QStringLiteral("Wählen Sie hier eine Lektion aus, deren Karten Sie im Anschluss abfragen, anzeigen "
                                 "oder bearbeiten können..."));
    SetHeaderHeight(TallHeaderHeight);

    model = new TModelUnits(this);
    auto* tree = new UnitsTree(Content());
    tree->OnEnter = [this] { Guarded([this] { ChooseFocused(); }); };
    VST1 = tree;
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setModel(model);
    VST1->setRootIsDecorated(false);
    VST1->setUniformRowHeights(true);
    VST1->setAllColumnsShowFocus(true);
    VST1->setSelectionBehavior(QAbstractItemView::SelectRows);
    VST1->setSelectionMode(QAbstractItemView::SingleSelection);
    VST1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VST1->setMinimumSize(300, 120);
    QHeaderView* columns = VST1->header();
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(true);
    columns->setSortIndicator(sortColumn, sortOrder);
    // The last column fills the rest; its own size is the least it shrinks to.
    columns->setStretchLastSection(true);
    fitColumns();
    connect(columns, &QHeaderView::sectionClicked, this, [this](int column) { Guarded([&] { headerClicked(column); }); });
    connect(VST1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { updateSelectButton(); });
    connect(VST1, &QTreeView::doubleClicked, this, [this] { Guarded([this] { ChooseFocused(); }); });

    Button_DirUp = new QToolButton(Content());
    Button_DirUp->setObjectName(QStringLiteral("Button_DirUp"));
    Button_DirUp->setIcon(Icons::Get(QStringLiteral("folder-up")));
    Button_DirUp->setIconSize(QSize(20, 20));
    Button_DirUp->setToolTip(QStringLiteral("Übergeordnetes Verzeichnis"));
    Button_DirUp->setVisible(false);
    connect(Button_DirUp, &QToolButton::clicked, this, [this] { Guarded([this] { showParentFolder(); }); });

    SpeedButton1 = new QToolButton(Content());
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(Icons::Get(QStringLiteral("unit-select")));
    SpeedButton1->setIconSize(QSize(20, 20));
    SpeedButton1->setToolTip(QStringLiteral("Lektion aus einer Datei öffnen"));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Guarded([this] { OpenFromFileDialog(); }); });

    auto makeButton = [this](const char* name, const QString& text) {
        auto* button = new QPushButton(text, Content());
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    Button_Select = makeButton("Button_Select", QStringLiteral("Auswählen"));
    Button_Select->setEnabled(false);
    connect(Button_Select, &QPushButton::clicked, this, [this] { Guarded([this] { ChooseFocused(); }); });
    Button_Abort = makeButton("Button_Abort", QStringLiteral("Abbruch"));
    SetEscapeButton(Button_Abort);
    connect(Button_Abort, &QPushButton::clicked, this, [this] {
        Guarded([this] {
            if (OnAbort)
                OnAbort();
        });
    });
    Button_Help = makeButton("Button_Help", QStringLiteral("Hilfe"));
    connect(Button_Help, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_units_select.html")); }); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(Button_DirUp);
    buttons->addWidget(SpeedButton1);
    buttons->addStretch(1);
    buttons->addWidget(Button_Select);
    buttons->addWidget(Button_Abort);
    buttons->addWidget(Button_Help);
    auto* layout = new QVBoxLayout(Content());
    // The list is 537 pixels wide on a screen of design size.
    layout->setContentsMargins(25, 10, 25, 10);
    layout->setSpacing(8);
    layout->addWidget(VST1, 1);
    layout->addLayout(buttons);
}

TFormUnitsSelect::~TFormUnitsSelect() = default;

void TFormUnitsSelect::showEvent(QShowEvent* event)
{
    TFormMeta::showEvent(event);
    if (event->spontaneous())
        return;
    Guarded([this] { ScanUnitsFolder(); });
    VST1->setFocus(Qt::OtherFocusReason);
}

void TFormUnitsSelect::BeforeClose()
{
    model->Clear();
    currentFolder.clear();
    core.Units->Provider().Clear();
    TFormMeta::BeforeClose();
}

void TFormUnitsSelect::ScanUnitsFolder()
{
    model->Clear();
    currentFolder.clear();
    TQVL_Provider_Custom& provider = core.Units->Provider();
    provider.Clear();
    provider.Scan(TFrameUnitsList::UnitsFolder(core));
    ShowFolder(provider.Root.get());
}

void TFormUnitsSelect::ShowFolder(const TQVL_Provider_Item_Custom* folder)
{
    if (!folder)
        return;
    openDialogFolder = folder->Path + QLatin1Char('/');
    model->SetFolder(folder);
    // A new folder starts in name order, whatever the header shows.
    model->sort(TModelUnits::colName, Qt::AscendingOrder);
    currentFolder = folder->Path;
    // The first row takes the focus, so that Enter and the arrow keys work at once.
    if (model->rowCount() > 0)
        VST1->setCurrentIndex(model->index(0, TModelUnits::colName));
    Button_DirUp->setVisible(folder->Parent != nullptr);
    updateSelectButton();
    fitColumns();
}

void TFormUnitsSelect::fitColumns()
{
    // The design's widths, widened to the header texts and to dates and names of the rows.
    FitToText::Columns(*VST1, {300, 60, 80, 50});
}

const TQVL_Provider_Item_Custom* TFormUnitsSelect::listedFolder(const QString& path) const
{
    const TQVL_Provider_Item_Custom* entry = core.Units->Provider().FindByPath(path);
    return entry && !entry->IsFile ? entry : nullptr;
}

const TQVL_Provider_Item_Custom* TFormUnitsSelect::findFolder(QString path)
{
    if (const TQVL_Provider_Item_Custom* folder = listedFolder(path))
        return folder;
    // The provider was cleared or rescanned behind our back (the main window clears it after a unit opened).
    ScanUnitsFolder();
    return listedFolder(path);
}

void TFormUnitsSelect::showParentFolder()
{
    const TQVL_Provider_Item_Custom* folder = findFolder(currentFolder);
    if (folder && folder->Parent)
        ShowFolder(folder->Parent);
}

void TFormUnitsSelect::headerClicked(int column)
{
    // Only a click on the sort column turns the direction; another column takes the direction as it is.
    if (column == sortColumn)
        sortOrder = sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortColumn = column;
    VST1->header()->setSortIndicator(sortColumn, sortOrder);
    model->sort(sortColumn, sortOrder);
}

void TFormUnitsSelect::updateSelectButton()
{
    const QModelIndex current = VST1->currentIndex();
    Button_Select->setEnabled(!choosing && current.isValid() && model->Row(current.row()).IsFile);
}

void TFormUnitsSelect::ChooseFocused()
{
    const QModelIndex current = VST1->currentIndex();
    if (choosing || !current.isValid())
        return;
    const TModelUnits::TRow row = model->Row(current.row());
    if (row.IsFile) {
        // The list is a copy of an earlier scan: a unit deleted since then is reported, and the active one stays.
        if (!QFileInfo(row.Path).isFile())
            throw TQVL_Error(QStringLiteral("Datei \"%1\" nicht gefunden!").arg(row.Path));
        openUnit(row.Path);
        return;
    }
    if (const TQVL_Provider_Item_Custom* folder = findFolder(row.Path))
        ShowFolder(folder);
}

void TFormUnitsSelect::OpenFromFileDialog()
{
    const QString fileName = TDialogService::Current().OpenFileName(QString(), openDialogFolder,
                                                                    QStringLiteral("Quorvel Lektionen (*.qxu)"));
    if (!fileName.isEmpty())
        openUnit(fileName);
}

void TFormUnitsSelect::openUnit(const QString& fileName)
{
    // Opening the unit clears the unit provider, and the rows go with it.
    const QString path = fileName;
    core.OpenActiveUnit(path);

    choosing = true;
    model->Clear();
    currentFolder.clear();
    updateSelectButton();
    const QPointer<TFormUnitsSelect> self(this);
    if (OnUnitChosen)
        OnUnitChosen();
    if (!self)
        return;
    Button_Select->setEnabled(false);
    ReleaseLater();
}
