#include "ui/edit/Form_UnitEdit.h"

#include "app/QVL.h"
#include "content/QVL_Unit.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/edit/LanguageLists.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "users/QVL_User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString joined(const TQVL_MeaningCleanup::Meanings& meanings)
{
    QStringList shown;
    for (const QString& meaning : meanings)
        if (!meaning.isEmpty())
            shown << meaning;
    return shown.join(QStringLiteral(" | "));
}

} // namespace

TFormUnitEdit::TFormUnitEdit(TQVL& owner, TQVL_Unit& edited, QWidget* parent)
    : TFormDialogMeta(parent), core(owner), unit(edited)
{
    setObjectName(QStringLiteral("FormUnitEdit"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel"));
    Label1->setText(QStringLiteral("Lektion bearbeiten"));
    // Two pages with a preview list need more room than the plain dialogs.
    setFixedSize(620, 460);

    PageControl1 = new QTabWidget(Content());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* contentLayout = new QVBoxLayout(Content());
    contentLayout->setContentsMargins(12, 10, 12, 10);
    contentLayout->addWidget(PageControl1);

    auto* dataPage = new QWidget(PageControl1);
    dataPage->setObjectName(QStringLiteral("TabSheet_Data"));
    Edit_Name = new QLineEdit(dataPage);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    ComboBox_Home = new QComboBox(dataPage);
    ComboBox_Home->setObjectName(QStringLiteral("ComboBox_Home"));
    ComboBox_Foreign = new QComboBox(dataPage);
    ComboBox_Foreign->setObjectName(QStringLiteral("ComboBox_Foreign"));
    auto* dataLayout = new QGridLayout(dataPage);
    dataLayout->setContentsMargins(16, 16, 16, 16);
    dataLayout->setVerticalSpacing(10);
    dataLayout->setColumnStretch(1, 1);
    const auto addRow = [&](const QString& caption, QWidget* control) {
        auto* label = new QLabel(caption, dataPage);
        label->setBuddy(control);
        const int row = dataLayout->rowCount();
        dataLayout->addWidget(label, row, 0);
        dataLayout->addWidget(control, row, 1);
    };
    addRow(QStringLiteral("Bezeichnung der Lektion:"), Edit_Name);
    addRow(QStringLiteral("Muttersprache:"), ComboBox_Home);
    addRow(QStringLiteral("Fremdsprache:"), ComboBox_Foreign);
    auto* kept = new QLabel(QStringLiteral("Die Lernergebnisse bleiben beim Umbenennen erhalten."), dataPage);
    kept->setWordWrap(true);
    dataLayout->addWidget(kept, dataLayout->rowCount(), 0, 1, 2);
    dataLayout->setRowStretch(dataLayout->rowCount(), 1);
    PageControl1->addTab(dataPage, QStringLiteral("Lektionsdaten"));

    auto* cleanPage = new QWidget(PageControl1);
    cleanPage->setObjectName(QStringLiteral("TabSheet_Clean"));
    auto* explanation = new QLabel(QStringLiteral("Bedeutungen, die mehrere Wörter enthalten, werden am gewählten "
                                                  "Trennzeichen auf die drei Bedeutungsfelder verteilt; Leerzeichen, "
                                                  "leere und doppelte Bedeutungen werden entfernt."),
                                   cleanPage);
    explanation->setWordWrap(true);
    CheckBox_Comma = new QCheckBox(QStringLiteral("Komma \",\""), cleanPage);
    CheckBox_Comma->setObjectName(QStringLiteral("CheckBox_Comma"));
    CheckBox_Comma->setChecked(true);
    CheckBox_Semicolon = new QCheckBox(QStringLiteral("Semikolon \";\""), cleanPage);
    CheckBox_Semicolon->setObjectName(QStringLiteral("CheckBox_Semicolon"));
    CheckBox_Slash = new QCheckBox(QStringLiteral("Schrägstrich \"/\""), cleanPage);
    CheckBox_Slash->setObjectName(QStringLiteral("CheckBox_Slash"));
    Button_Preview = new QPushButton(QStringLiteral("Vorschau"), cleanPage);
    Button_Preview->setObjectName(QStringLiteral("Button_Preview"));
    Button_Preview->setAutoDefault(false);
    Button_Clean = new QPushButton(QStringLiteral("Bereinigen"), cleanPage);
    Button_Clean->setObjectName(QStringLiteral("Button_Clean"));
    Button_Clean->setAutoDefault(false);
    Button_Clean->setEnabled(false);
    Label_Changes = new QLabel(cleanPage);
    Label_Changes->setObjectName(QStringLiteral("Label_Changes"));
    VST1 = new QTreeWidget(cleanPage);
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setRootIsDecorated(false);
    VST1->setColumnCount(3);
    VST1->setHeaderLabels({QStringLiteral("Karte"), QStringLiteral("Bisher"), QStringLiteral("Bereinigt")});
    VST1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    VST1->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    VST1->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto* delimiters = new QHBoxLayout;
    delimiters->addWidget(new QLabel(QStringLiteral("Trennzeichen:"), cleanPage));
    delimiters->addWidget(CheckBox_Comma);
    delimiters->addWidget(CheckBox_Semicolon);
    delimiters->addWidget(CheckBox_Slash);
    delimiters->addStretch(1);
    auto* actions = new QHBoxLayout;
    actions->addWidget(Label_Changes, 1);
    actions->addWidget(Button_Preview);
    actions->addWidget(Button_Clean);
    auto* cleanLayout = new QVBoxLayout(cleanPage);
    cleanLayout->setContentsMargins(12, 10, 12, 10);
    cleanLayout->addWidget(explanation);
    cleanLayout->addLayout(delimiters);
    cleanLayout->addWidget(VST1, 1);
    cleanLayout->addLayout(actions);
    PageControl1->addTab(cleanPage, QStringLiteral("Vokabeln bereinigen"));

    const TQVL_Unit_Data stored = TQVL_Unit_Data::FromUnit(unit);
    Edit_Name->setText(stored.Name);
    FillLanguageLists(core, ComboBox_Home, ComboBox_Foreign, stored.LangCodeHome, stored.LangCodeForeign);

    // A changed choice of delimiters makes the shown preview stale.
    for (QCheckBox* box : {CheckBox_Comma, CheckBox_Semicolon, CheckBox_Slash})
        connect(box, &QCheckBox::toggled, this, [this] {
            changes.clear();
            VST1->clear();
            Label_Changes->clear();
            Button_Clean->setEnabled(false);
        });
    connect(Button_Preview, &QPushButton::clicked, this, [this] { Guarded([this] { Preview(); }); });
    connect(Button_Clean, &QPushButton::clicked, this, [this] { Guarded([this] { Clean(); }); });

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Übernehmen"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_units_select.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { ApplyData(); }); });
}

TFormUnitEdit::~TFormUnitEdit() = default;

TQVL_Unit_Data TFormUnitEdit::Data() const
{
    TQVL_Unit_Data chosen;
    chosen.Name = Edit_Name->text();
    chosen.LangCodeHome = ComboBox_Home->currentData().toString();
    chosen.LangCodeForeign = ComboBox_Foreign->currentData().toString();
    return chosen;
}

void TFormUnitEdit::ApplyData()
{
    if (Data().ApplyTo(unit) && core.Users->HasActiveUser()) {
        // Results are found by the unit's uid; the name shown with them follows the file.
        if (TQVL_Result_Unit* results = core.Users->GetActiveUser().Results().FindUnit(unit.Uid))
            results->unit_lastknownfilename = unit.FileName;
    }
    accept();
}

QString TFormUnitEdit::Delimiters() const
{
    QString delimiters;
    if (CheckBox_Comma->isChecked())
        delimiters += QLatin1Char(',');
    if (CheckBox_Semicolon->isChecked())
        delimiters += QLatin1Char(';');
    if (CheckBox_Slash->isChecked())
        delimiters += QLatin1Char('/');
    return delimiters;
}

void TFormUnitEdit::Preview()
{
    changes = TQVL_MeaningCleanup::Preview(*unit.Cards, Delimiters());
    VST1->clear();
    for (const TQVL_MeaningCleanup::Change& change : changes) {
        auto* row = new QTreeWidgetItem(VST1);
        row->setText(0, QString::number(change.Index + 1));
        row->setText(1, joined(change.ForeignBefore) + QStringLiteral(" = ") + joined(change.HomeBefore));
        row->setText(2, joined(change.ForeignAfter) + QStringLiteral(" = ") + joined(change.HomeAfter));
    }
    Label_Changes->setText(changes.empty() ? QStringLiteral("Keine Karte muss bereinigt werden.")
                                           : QStringLiteral("%1 Karten werden geändert.").arg(changes.size()));
    Button_Clean->setEnabled(!changes.empty());
}

void TFormUnitEdit::Clean()
{
    if (changes.empty())
        return;
    if (!TDialogService::Current().Confirm(
            QStringLiteral("Sollen die %1 Karten jetzt bereinigt werden?").arg(changes.size())))
        return;
    TQVL_MeaningCleanup::Apply(*unit.Cards, changes);
    try {
        unit.Save();
    } catch (...) {
        // The cards stay as the file has them.
        std::vector<TQVL_MeaningCleanup::Change> undo = changes;
        for (TQVL_MeaningCleanup::Change& change : undo) {
            std::swap(change.ForeignBefore, change.ForeignAfter);
            std::swap(change.HomeBefore, change.HomeAfter);
        }
        TQVL_MeaningCleanup::Apply(*unit.Cards, undo);
        throw;
    }
    const int cleaned = int(changes.size());
    changes.clear();
    VST1->clear();
    Button_Clean->setEnabled(false);
    Label_Changes->setText(QStringLiteral("%1 Karten wurden bereinigt.").arg(cleaned));
}
