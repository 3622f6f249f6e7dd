#include "ui/exchange/Form_UnitsIntegrate.h"

#include "content/QVL_Card.h"
#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "ui/units/Form_LongTermStorage.h"
#include "ui/shell/FitToText.h"
#include "ui/shell/Guarded.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Icons.h"
#include "ui/shell/PlainText.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString cardText(const TQVL_Card* card)
{
    return QStringLiteral("Karte ID:") + QLatin1Char(' ') + QString::number(card->Uid);
}

} // namespace

TFormUnitsIntegrate::TFormUnitsIntegrate(TQVL& engine, QWidget* parent) : TFormDialogMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormUnitsIntegrate"));
    Label1->setText(QStringLiteral("Lektionen zusammenführen"));
    QWidget* area = Content();

    auto caption = [area](const QString& text) { return new QLabel(text, area); };
    // File names, and the languages of the files.
    auto value = [area](const char* name) {
        auto* label = AsPlainText(new QLabel(area));
        label->setObjectName(QString::fromLatin1(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    Label_Unit = value("Label_Unit");
    Label_Storage = value("Label_Storage");
    Label_Conflicts = value("Label_Conflicts");
    // Holds the long message when the languages differ.
    Label_Conflicts->setWordWrap(true);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->addWidget(caption(QStringLiteral("Lektion:")), 0, 0);
    grid->addWidget(Label_Unit, 0, 1);
    grid->addWidget(caption(QStringLiteral("Einfügen in Langzeitspeicher:")), 1, 0);
    grid->addWidget(Label_Storage, 1, 1);
    grid->addWidget(caption(QStringLiteral("Konflikte:")), 2, 0);
    grid->addWidget(Label_Conflicts, 2, 1);
    grid->setColumnStretch(1, 1);

    VST1 = new QTreeWidget(area);
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setColumnCount(4);
    VST1->setRootIsDecorated(false);
    VST1->setUniformRowHeights(true);
    VST1->setAllColumnsShowFocus(true);
    VST1->setSelectionMode(QAbstractItemView::SingleSelection);
    VST1->header()->setStretchLastSection(true);
    fitColumns();

    CheckBox_SkipConflicts = new QCheckBox(QStringLiteral("Karten mit Konflikten nicht übernehmen"), area);
    CheckBox_SkipConflicts->setObjectName(QStringLiteral("CheckBox_SkipConflicts"));
    CheckBox_SkipConflicts->setChecked(true);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(16, 10, 16, 8);
    layout->addLayout(grid);
    layout->addWidget(VST1, 1);
    layout->addWidget(CheckBox_SkipConflicts);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Durchführen"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_units_integrate.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { Integrate(); }); });
}

TFormUnitsIntegrate::~TFormUnitsIntegrate() = default;

void TFormUnitsIntegrate::IntegrateActiveUnit(TQVL& core)
{
    TQVL_StorageHandle storage = core.OpenStorageOfActiveUnit();
    TFormUnitsIntegrate dialog(core);
    dialog.SourceUnit = &core.Units->GetActiveUnit();
    dialog.DestStorage = storage.get();
    dialog.ShowModal();
    storage.Close();
}

void TFormUnitsIntegrate::showEvent(QShowEvent* event)
{
    TFormDialogMeta::showEvent(event);
    if (!checked) {
        checked = true;
        Guarded([this] { CheckUnits(); });
    }
}

void TFormUnitsIntegrate::CheckUnits()
{
    conflicts.clear();
    VST1->clear();
    if (!SourceUnit || !DestStorage)
        return;
    const TQVL_Unit& source = *SourceUnit;
    const TQVL_Unit& storage = *DestStorage;
    const QString sourceName = QFileInfo(source.FileName).fileName();
    const QString storageName = QFileInfo(storage.FileName).completeBaseName();
    Label_Unit->setText(sourceName);
    Label_Storage->setText(storageName);
    VST1->setHeaderLabels({QString(), sourceName, QString(), storageName});

    const QString mismatch = TQVL_Unit_Integration::Mismatch(storage, source);
    if (!mismatch.isEmpty()) {
        Label_Conflicts->setText(mismatch);
        dxButton3->setEnabled(false);
        VST1->setEnabled(false);
        CheckBox_SkipConflicts->setEnabled(false);
        fitColumns();
        return;
    }
    dxButton3->setEnabled(true);

    conflicts = TQVL_Unit_Integration::FindConflicts(storage, source);
    for (const Conflict& conflict : conflicts) {
        auto* row = new QTreeWidgetItem(VST1);
        row->setIcon(0, Icons::Get(conflict.Equal ? QStringLiteral("light-red") : QStringLiteral("light-yellow")));
        row->setText(1, cardText(conflict.SourceCard));
        row->setText(2, conflict.Equal ? QStringLiteral("gleich") : QStringLiteral("teilweise gleich"));
        row->setText(3, cardText(conflict.StorageCard));
    }
    const bool any = !conflicts.empty();
    if (!any)
        Label_Conflicts->setText(QStringLiteral("Keine Konflikte gefunden"));
    else
        Label_Conflicts->setText(QString::number(conflicts.size()));
    VST1->setEnabled(any);
    CheckBox_SkipConflicts->setEnabled(any);
    fitColumns();
}

void TFormUnitsIntegrate::fitColumns()
{
    // The headers carry the file names of the unit and the storage.
    FitToText::Columns(*VST1, {24, 150, 110});
}

void TFormUnitsIntegrate::Integrate()
{
    if (!SourceUnit || !DestStorage || !TQVL_Unit_Integration::Mismatch(*DestStorage, *SourceUnit).isEmpty())
        return;
    core.IntegrateUnit(*DestStorage, *SourceUnit, CheckBox_SkipConflicts->isChecked());
    accept();
}
