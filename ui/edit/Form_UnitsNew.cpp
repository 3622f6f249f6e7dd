#include "ui/edit/Form_UnitsNew.h"

#include "app/QVL.h"
#include "content/QVL_Provider_CardArrangements.h"
#include "ui/edit/LanguageLists.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/PlainText.h"
#include "users/QVL_User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

QString titleOf(TQVL_CardType typ)
{
    switch (typ) {
    case tGrammar: return QStringLiteral("Neue Grammatik-Lektion erstellen");
    case tPic: return QStringLiteral("Neue Bilder-Lektion erstellen");
    case tSound: return QStringLiteral("Neue Töne-Lektion erstellen");
    default: return QStringLiteral("Neue Vokabel-Lektion erstellen");
    }
}

// Every file entry below `item`, depth first.
void forEachFile(const TQVL_Provider_Item_Custom& item, const std::function<void(const TQVL_Provider_Item_Custom&)>& visit)
{
    for (int i = 0; i < item.ChildCount(); ++i) {
        const TQVL_Provider_Item_Custom& child = *item.Child(i);
        if (child.IsFile)
            visit(child);
        else
            forEachFile(child, visit);
    }
}

QComboBox* comboBox(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxVisibleItems(20);
    return box;
}

} // namespace

TFormUnitsNew::TFormUnitsNew(TQVL& owner, TQVL_CardType kind, QWidget* parent)
    : TFormDialogMeta(parent), core(owner), typ(kind)
{
    setObjectName(QStringLiteral("FormUnitsNew"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel"));
    Label1->setText(titleOf(typ));

    QWidget* area = Content();
    Edit_Name = new QLineEdit(area);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    ComboBox_Home = comboBox(area, "ComboBox_Home");
    ComboBox_Foreign = comboBox(area, "ComboBox_Foreign");
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(24, 20, 24, 12);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(10);
    layout->setColumnStretch(1, 1);
    const auto addRow = [&](const QString& caption, QWidget* control) {
        auto* label = new QLabel(caption, area);
        label->setBuddy(control);
        const int row = layout->rowCount();
        layout->addWidget(label, row, 0);
        layout->addWidget(control, row, 1);
    };
    addRow(QStringLiteral("Bezeichnung der Lektion:"), Edit_Name);
    addRow(QStringLiteral("Muttersprache:"), ComboBox_Home);
    addRow(QStringLiteral("Fremdsprache:"), ComboBox_Foreign);
    if (typ == tGrammar) {
        ComboBox_Arrangement = comboBox(area, "ComboBox_Arrangement");
        addRow(QStringLiteral("Vorlage:"), ComboBox_Arrangement);
        fillArrangements();
    }
    if (typ == tPic) {
        CheckBox_OwnFolder = new QCheckBox(QStringLiteral("Bilder in einem eigenen Verzeichnis ablegen"), area);
        CheckBox_OwnFolder->setObjectName(QStringLiteral("CheckBox_OwnFolder"));
        CheckBox_OwnFolder->setToolTip(QStringLiteral("Sonst liegen die Bilder im Verzeichnis der Lektion."));
        layout->addWidget(CheckBox_OwnFolder, layout->rowCount(), 1);
    }
    auto* where = AsPlainText(
        new QLabel(QStringLiteral("Die Lektion wird im Verzeichnis \"%1\" angelegt.").arg(UnitsFolder(core)), area));
    where->setObjectName(QStringLiteral("Label_Folder"));
    where->setWordWrap(true);
    layout->addWidget(where, layout->rowCount(), 0, 1, 2);
    layout->setRowStretch(layout->rowCount(), 1);
    FillLanguageLists(core, ComboBox_Home, ComboBox_Foreign);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Ok"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("Form_MenuUnitsNew.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { CreateUnit(); }); });
    // Enter in the name is the learner's "Ok".
    connect(Edit_Name, &QLineEdit::returnPressed, this, [this] { Guarded([this] { CreateUnit(); }); });
    Edit_Name->setFocus();
}

TFormUnitsNew::~TFormUnitsNew() = default;

QString TFormUnitsNew::UnitsFolder(const TQVL& core)
{
    const QString own = core.Users->HasActiveUser() ? core.Users->GetActiveUser().units_directory : QString();
    return core.Options->UnitsFolder(core.System->DocumentsFolder, own);
}

void TFormUnitsNew::fillArrangements()
{
    TQVL_Provider_CardArrangements arrangements;
    arrangements.ReadHeaders = true;
    arrangements.Scan(core.System->AppDataFolder + QStringLiteral("/Data/GrammarTemplates"));
    forEachFile(*arrangements.Root, [this](const TQVL_Provider_Item_Custom& item) {
        const auto& arrangement = static_cast<const TQVL_Provider_Item_CardArrangement&>(item);
        if (!arrangement.Uid.isEmpty())
            ComboBox_Arrangement->addItem(
                arrangement.ArrangementName.isEmpty() ? arrangement.Name : arrangement.ArrangementName, arrangement.Uid);
    });
    ComboBox_Arrangement->setCurrentIndex(ComboBox_Arrangement->count() > 0 ? 0 : -1);
}

TQVL_Unit_New TFormUnitsNew::Choices() const
{
    TQVL_Unit_New choices;
    choices.Name = Edit_Name->text();
    choices.Typ = typ;
    choices.LangCodeHome = ComboBox_Home->currentData().toString();
    choices.LangCodeForeign = ComboBox_Foreign->currentData().toString();
    if (ComboBox_Arrangement)
        choices.ArrangementId = ComboBox_Arrangement->currentData().toString();
    choices.OwnPictureFolder = CheckBox_OwnFolder && CheckBox_OwnFolder->isChecked();
    return choices;
}

void TFormUnitsNew::CreateUnit()
{
    const QString folder = UnitsFolder(core);
    // A units folder of the user's own that does not exist yet is made now.
    QDir().mkpath(folder);
    createdFile = Choices().Create(folder);
    accept();
}
