#include "ui/units/Form_LongTermStorageNew.h"

#include "app/QVL.h"
#include "ui/units/Form_LongTermStorage.h"
#include "ui/shell/Guarded.h"
#include "ui/help/HelpService.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormLongTermStorageNew::TFormLongTermStorageNew(TQVL& engine, QWidget* parent) : TFormDialogMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormLongTermStorageNew"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel"));
    Label1->setText(QStringLiteral("Neuen Langzeitspeicher anlegen"));

    auto* prompt = new QLabel(QStringLiteral("Bitte wählen Sie die Sprache:"), Content());
    prompt->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(Content());
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(20);
    prompt->setBuddy(ComboBox1);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(6);
    layout->addWidget(prompt);
    layout->addWidget(ComboBox1);
    layout->addStretch(1);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Ok"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_longtermstorage.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { CreateStorage(); }); });
    // Without a chosen language there is nothing to create.
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) { dxButton3->setEnabled(index >= 0); });

    QStringList names;
    core.Languages->Names->GetNames(names);
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(int(names.indexOf(QStringLiteral("Englisch"))));
    dxButton3->setEnabled(ComboBox1->currentIndex() >= 0);
}

TFormLongTermStorageNew::~TFormLongTermStorageNew() = default;

void TFormLongTermStorageNew::CreateStorage()
{
    const int index = ComboBox1->currentIndex();
    if (index < 0)
        return;
    const QString foreign = core.Languages->Names->CodeAt(index);
    TQVL_LongTermStorage* storage = core.LongTermStorages->OpenOrCreateStorage(
        core.StoragesFolder(), *core.Languages->Names, core.Options->languages_langcode_home, foreign);
    core.LongTermStorages->CloseAdditionFile(storage);
    accept();
}
