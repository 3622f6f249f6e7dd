#include "ui/edit/Form_EditSound.h"

#include "app/QVL.h"
#include "content/QVL_Unit.h"
#include "core/QVL_SpeechService.h"
#include "core/QVL_System_Speech.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormEditSound::TFormEditSound(TQVL& core, QWidget* parent) : TFormEditVoc(core, parent)
{
    setObjectName(QStringLiteral("FormEditSound"));
    QWidget* area = Editor();
    const auto fileRow = [&](const char* edit, const char* browse, const char* play, const char* read,
                             QLineEdit*& input, QPushButton*& browseButton, QPushButton*& playButton,
                             QPushButton*& readButton, int column) {
        auto* label = new QLabel(QStringLiteral("Dateiname Sound:"), area);
        input = new QLineEdit(area);
        input->setObjectName(QLatin1String(edit));
        label->setBuddy(input);
        browseButton = new QPushButton(QStringLiteral("..."), area);
        browseButton->setObjectName(QLatin1String(browse));
        browseButton->setAutoDefault(false);
        playButton = new QPushButton(area);
        playButton->setObjectName(QLatin1String(play));
        playButton->setIcon(Icons::Get(QStringLiteral("play")));
        playButton->setToolTip(QStringLiteral("Abspielen"));
        playButton->setAutoDefault(false);
        readButton = new QPushButton(QStringLiteral("Vorlesen lassen"), area);
        readButton->setObjectName(QLatin1String(read));
        readButton->setToolTip(QStringLiteral("Eine Aufnahme der Bedeutungen durch die Sprachausgabe anlegen"));
        readButton->setAutoDefault(false);
        auto* row = new QHBoxLayout;
        row->setSpacing(4);
        row->addWidget(input, 1);
        row->addWidget(browseButton);
        row->addWidget(playButton);
        Grid->addWidget(label, 8, column);
        Grid->addLayout(row, 9, column);
        Grid->addWidget(readButton, 10, column, Qt::AlignLeft);
        QLineEdit* target = input;
        const bool foreignSide = column == 0;
        connect(browseButton, &QPushButton::clicked, this, [this, target] { Guarded([&] { ChooseFile(target); }); });
        connect(playButton, &QPushButton::clicked, this, [this, target] { Guarded([&] { PlayFile(target); }); });
        connect(readButton, &QPushButton::clicked, this, [this, foreignSide] { Guarded([&] { RecordSide(foreignSide); }); });
    };
    Grid->setRowMinimumHeight(7, 10);
    fileRow("Edit_ForeignFileName", "Button_ForeignFileName", "Button_PlayForeign", "Button_ReadForeign",
            Edit_ForeignFileName, Button_ForeignFileName, Button_PlayForeign, Button_ReadForeign, 0);
    fileRow("Edit_HomeFileName", "Button_HomeFileName", "Button_PlayHome", "Button_ReadHome", Edit_HomeFileName,
            Button_HomeFileName, Button_PlayHome, Button_ReadHome, 1);
    setTabOrder(TntEdit8, Edit_ForeignFileName);
    setTabOrder(Edit_ForeignFileName, Edit_HomeFileName);
}

TFormEditSound::~TFormEditSound()
{
    if (recording)
        recording->store(true);
}

int TFormEditSound::CardKind() const
{
    return tSound;
}

QString TFormEditSound::HelpPage() const
{
    return QStringLiteral("help_edit_sound.html");
}

TQVL_Card_Voc_Values TFormEditSound::Values() const
{
    TQVL_Card_Voc_Values values = TFormEditVoc::Values();
    values.foreign_filename = Edit_ForeignFileName->text();
    values.home_filename = Edit_HomeFileName->text();
    return values;
}

void TFormEditSound::SetValues(const TQVL_Card_Voc_Values& values)
{
    // A recording still being made belongs to the card that is leaving.
    if (recording) {
        recording->store(true);
        recording.reset();
        Button_ReadForeign->setEnabled(true);
        Button_ReadHome->setEnabled(true);
    }
    TFormEditVoc::SetValues(values);
    Edit_ForeignFileName->setText(values.foreign_filename);
    Edit_HomeFileName->setText(values.home_filename);
}

void TFormEditSound::ChooseFile(QLineEdit* input)
{
    const QString folder = QFileInfo(Unit().FileName).absolutePath();
    const QString chosen = TDialogService::Current().OpenFileName(
        QStringLiteral("Sound-Datei wählen"), folder, QStringLiteral("Sound-Dateien (*.wav *.ogg *.mp3);;Alle Dateien (*)"));
    if (!chosen.isEmpty())
        input->setText(chosen);
}

void TFormEditSound::PlayFile(const QLineEdit* input)
{
    if (!input->text().isEmpty())
        TFormQueryMeta::PlaySound(Unit().ExternalFilePath(input->text()));
}

void TFormEditSound::RecordSide(bool foreignSide)
{
    const TQVL_Card_Voc_Values values = Values();
    QStringList meanings = foreignSide ? QStringList{values.foreign1, values.foreign2, values.foreign3}
                                       : QStringList{values.home1, values.home2, values.home3};
    for (QString& meaning : meanings)
        meaning = meaning.trimmed();
    meanings.removeAll(QString());
    if (meanings.isEmpty()) {
        TDialogService::Current().ShowInformation(foreignSide
                                                      ? QStringLiteral("Bitte zuerst die Fremdsprache eingeben.")
                                                      : QStringLiteral("Bitte zuerst die Muttersprache eingeben."));
        return;
    }
    const TQVL_Unit& unit = Unit();
    const QString langCode = foreignSide ? unit.LangCodeForeign : unit.LangCodeHome;
    Button_ReadForeign->setEnabled(false);
    Button_ReadHome->setEnabled(false);
    recording = Core.System->Speech->Run(
        [text = meanings.join(QStringLiteral(", ")), langCode,
         folder = unit.ExternalFilesFolder()](TQVL_System_Speech& engine, const std::atomic<bool>& cancel) {
            return engine.RecordInto(text, langCode, folder, &cancel);
        },
        this,
        [this, foreignSide](const QString& name, const QString& error) {
            Guarded([&] { recorded(foreignSide, name, error); });
        });
}

void TFormEditSound::recorded(bool foreignSide, const QString& name, const QString& error)
{
    recording.reset();
    Button_ReadForeign->setEnabled(true);
    Button_ReadHome->setEnabled(true);
    if (!error.isEmpty())
        throw TQVL_Error(error);
    QLineEdit* input = foreignSide ? Edit_ForeignFileName : Edit_HomeFileName;
    input->setText(name);
    PlayFile(input);
}
