#include "ui/exchange/Form_AboutQuorvel.h"

#include "core/QVL_System.h"
#include "ui/shell/PlainText.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormAboutQuorvel::TFormAboutQuorvel(TQVL_System& system, QWidget* parent) : TFormDialogMeta(parent)
{
    setObjectName(QStringLiteral("FormAboutQuorvel"));
    setWindowTitle(QStringLiteral("Quorvel Vokabeltrainer"));
    Label1->setText(QStringLiteral("Über Quorvel"));
    QWidget* area = Content();

    const auto label = [area](const char* name, const QString& text) {
        // Texts read from the program file and from the sound library.
        auto* shown = AsPlainText(new QLabel(text, area));
        shown->setObjectName(QLatin1String(name));
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return shown;
    };
    Label_Heading1 = label("Label_Heading1", QStringLiteral("Quorvel Vokabeltrainer 8"));
    QFont big = Label_Heading1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    Label_Heading1->setFont(big);
    Label_Heading2 = label("Label_Heading2", QStringLiteral("Vokabeln lernen mit Abfrage und Langzeitspeicher"));
    Label_Version = label("Label_Version", system.ProgramVersion + QLatin1Char(' '));
    Label_SoundSystem = label("Label_SoundSystem", SoundSystemText(system));
    Label_SoundSystem->setWordWrap(true);

    auto* pairs = new QGridLayout;
    pairs->setHorizontalSpacing(12);
    pairs->addWidget(new QLabel(QStringLiteral("Version:"), area), 0, 0, Qt::AlignTop);
    pairs->addWidget(Label_Version, 0, 1);
    pairs->addWidget(new QLabel(QStringLiteral("Verwendetes SoundSystem:"), area), 1, 0, Qt::AlignTop);
    pairs->addWidget(Label_SoundSystem, 1, 1);
    pairs->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(24, 16, 24, 12);
    layout->addWidget(Label_Heading1);
    layout->addWidget(Label_Heading2);
    layout->addSpacing(24);
    layout->addLayout(pairs);
    layout->addStretch();

    dxButton1->hide();
    dxButton2->hide();
    dxButton3->setText(QStringLiteral("Ok"));
    connect(dxButton3, &QPushButton::clicked, this, &QDialog::accept);
}

QString TFormAboutQuorvel::SoundSystemText(TQVL_System& system)
{
    if (!system.SoundSystem)
        return QStringLiteral("Deaktiviert");
    QString info;
    system.SoundSystem->Info(info);
    return info + QStringLiteral(" (Version: ") + system.SoundSystem->Version() + QLatin1Char(')');
}
