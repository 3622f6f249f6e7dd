#include "ui/query/Form_QueryMultipleFiles.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/FitToText.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Navigator.h"
#include "ui/units/Frame_Units_List.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString mismatch =
    QStringLiteral("Sie können nur Lektionen mit gleicher Sprache und Karten gleichen Typs abfragen.");

QToolButton* toolButton(const char* name, const QString& icon, const QString& tip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(Icons::Get(icon));
    button->setIconSize(QSize(20, 20));
    button->setToolTip(tip);
    return button;
}

} // namespace

TFormQueryMultipleFiles::TFormQueryMultipleFiles(QWidget* parent, TQVL& engine) : TFormMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormQueryMultipleFiles"));
    SetCaption(QStringLiteral("Lektionen hinzufügen"));
    SetSubCaption(QStringLiteral("Bitte geben Sie über das Plus-Symbol weitere Lektionen an, die Sie in der Abfrage "
                                 "oder dem Vorspielen mit verwenden wollen..."));
    // The sub-caption runs over two lines.
    SetHeaderHeight(TallHeaderHeight + 12);

    VST1 = new QTreeWidget(Content());
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setColumnCount(4);
    VST1->setHeaderLabels(
        {QStringLiteral("Lektion"), QStringLiteral("Vokabeln"), QStringLiteral("Sprache"), QStringLiteral("Karten")});
    VST1->setRootIsDecorated(false);
    VST1->setUniformRowHeights(true);
    VST1->setAllColumnsShowFocus(true);
    VST1->setSelectionMode(QAbstractItemView::SingleSelection);
    VST1->setSelectionBehavior(QAbstractItemView::SelectRows);
    VST1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    VST1->header()->setStretchLastSection(false);
    FitToText::Columns(*VST1);
    connect(VST1, &QTreeWidget::itemSelectionChanged, this, [this] { Guarded([this] { updateButtons(); }); });

    Button_Add = toolButton("Button_Add", QStringLiteral("unit-new"), QStringLiteral("Lektion hinzufügen"), Content());
    Button_Remove =
        toolButton("Button_Remove", QStringLiteral("delete"), QStringLiteral("Lektion entfernen"), Content());
    Button_Next = new QPushButton(QStringLiteral("Weiter >"), Content());
    Button_Next->setObjectName(QStringLiteral("Button_Next"));
    SetDefaultButton(Button_Next);
    Button_Abort = new QPushButton(QStringLiteral("Abbruch"), Content());
    Button_Abort->setObjectName(QStringLiteral("Button_Abort"));
    SetEscapeButton(Button_Abort);
    Button_Help = new QPushButton(QStringLiteral("Hilfe"), Content());
    Button_Help->setObjectName(QStringLiteral("Button_Help"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(Button_Add);
    tools->addWidget(Button_Remove);
    tools->addStretch(1);
    tools->addWidget(Button_Next);
    tools->addWidget(Button_Abort);
    tools->addWidget(Button_Help);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(20, 10, 20, 10);
    layout->addWidget(VST1, 1);
    layout->addLayout(tools);

    connect(Button_Add, &QToolButton::clicked, this, [this] { Guarded([this] { AddFiles(); }); });
    connect(Button_Remove, &QToolButton::clicked, this, [this] { Guarded([this] { RemoveSelected(); }); });
    connect(Button_Next, &QPushButton::clicked, this, [this] { Guarded([this] { Continue(); }); });
    connect(Button_Abort, &QPushButton::clicked, this, [this] { Guarded([this] { Abort(); }); });
    connect(Button_Help, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_query_mulitplefiles.html")); }); });

    Guarded([this] {
        startFolder = TFrameUnitsList::UnitsFolder(core);
        TQVL_Unit& active = core.Units->GetActiveUnit();
        if (active.IsOpen) {
            entries.push_back({&active, false});
            appendRow(entries.back());
        }
    });
    updateButtons();
}

TFormQueryMultipleFiles::~TFormQueryMultipleFiles()
{
    // Normally BeforeClose did it; a screen destroyed without it must not leave units open.
    try {
        closeOwnUnits();
    } catch (const std::exception&) {
    }
}

void TFormQueryMultipleFiles::BeforeClose()
{
    closeOwnUnits();
}

QString TFormQueryMultipleFiles::TypeName(int unitType)
{
    return TQVL_CardTypes::IsValid(unitType) ? TQVL_CardTypes::Caption(TQVL_CardType(unitType)) : QString();
}

std::vector<TQVL_Unit*> TFormQueryMultipleFiles::Units() const
{
    std::vector<TQVL_Unit*> units;
    for (const Entry& entry : entries)
        units.push_back(entry.Unit);
    return units;
}

void TFormQueryMultipleFiles::AddFiles()
{
    const QString fileName = TDialogService::Current().OpenFileName(QStringLiteral("Lektionen hinzufügen"), startFolder,
                                                                    QStringLiteral("Quorvel Units (*.qxu)"));
    if (!fileName.isEmpty())
        AddUnits({fileName});
}

void TFormQueryMultipleFiles::AddUnits(const QStringList& fileNames)
{
    for (const QString& fileName : fileNames)
        addUnit(fileName);
}

void TFormQueryMultipleFiles::addUnit(const QString& fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    for (const Entry& entry : entries)
        if (QFileInfo(entry.Unit->FileName).absoluteFilePath() == path)
            return;

    TQVL_Units& manager = *core.Units;
    auto* unit = static_cast<TQVL_Unit*>(manager.CreateAdditionalFile());
    try {
        unit->Open(fileName);
    } catch (...) {
        manager.DiscardAdditionalFile(unit);
        throw;
    }
    for (const Entry& entry : entries) {
        if (!entry.Unit->FitsQueryWith(*unit)) {
            manager.CloseAdditionFile(unit);
            throw TQVL_Error(mismatch);
        }
    }
    entries.push_back({unit, true});
    appendRow(entries.back());
    updateButtons();
}

void TFormQueryMultipleFiles::appendRow(const Entry& entry)
{
    const TQVL_Unit& unit = *entry.Unit;
    const QString path = QFileInfo(unit.FileName).absoluteFilePath();
    const QString folder = QDir(startFolder).absolutePath() + QLatin1Char('/');
    auto* row = new QTreeWidgetItem(VST1);
    row->setText(0, path.startsWith(folder) ? path.mid(folder.size()) : path);
    row->setText(1, QString::number(unit.Cards->Count()));
    row->setText(2, core.Languages->Names->NameOf(unit.LangCodeForeign));
    row->setText(3, TypeName(unit.Typ));
    row->setIcon(0, Icons::Get(unit.Cards->Count() > 0 ? QStringLiteral("unit") : QStringLiteral("unit-none")));
    FitToText::Columns(*VST1);
}

void TFormQueryMultipleFiles::RemoveSelected()
{
    QTreeWidgetItem* row = VST1->currentItem();
    if (!row || !row->isSelected())
        return;
    const int index = VST1->indexOfTopLevelItem(row);
    if (index < 0 || index >= int(entries.size()))
        return;
    const Entry entry = entries[std::size_t(index)];
    entries.erase(entries.begin() + index);
    delete row;
    updateButtons();
    if (entry.Own)
        core.Units->CloseAdditionFile(entry.Unit);
}

void TFormQueryMultipleFiles::Continue()
{
    if (entries.empty())
        return;
    TQVL_Query& query = *core.Query;
    // The pile holds exactly the listed units, also when a menu put the active unit in before.
    query.Cardpile->Clear();
    for (const Entry& entry : entries)
        if (entry.Unit->Cards->Count() > 0)
            query.Cardpile->AddUnit(*entry.Unit);
    if (query.Cardpile->isEmpty()) {
        query.Cardpile->Clear();
        throw TQVL_Error(QStringLiteral("Sie müssen mindestens eine Karte abfragen"));
    }
    // The units stay open for the run.
    entries.clear();
    VST1->clear();
    updateButtons();

    // The query settings do not apply to a play run.
    if (query.QueryType != TQVL_QueryType::Play && query.Options->changeoptions) {
        Navigator().Show(TDestination::QueryOptions);
        return;
    }
    const TQVL_Unit& active = core.Units->GetActiveUnit();
    if (active.IsOpen && active.Typ != tLongTermStorage)
        Navigator().Show(TDestination::Run);
}

void TFormQueryMultipleFiles::Abort()
{
    closeOwnUnits();
    Navigator().Show(core.Query->QueryType == TQVL_QueryType::Play ? TDestination::PlayMenu : TDestination::QueryMenu);
}

void TFormQueryMultipleFiles::closeOwnUnits()
{
    std::vector<Entry> own;
    for (const Entry& entry : entries)
        if (entry.Own)
            own.push_back(entry);
    std::erase_if(entries, [](const Entry& entry) { return entry.Own; });
    VST1->clear();
    for (const Entry& entry : entries)
        appendRow(entry);
    updateButtons();
    // Also reached while the program shuts down, when the engine may be gone already.
    TQVL* alive = TQVL::Current();
    if (!alive)
        return;
    for (const Entry& entry : own)
        alive->Units->CloseAdditionFile(entry.Unit);
}

void TFormQueryMultipleFiles::updateButtons()
{
    Button_Next->setEnabled(!entries.empty());
    Button_Remove->setEnabled(VST1->currentItem() != nullptr);
}
