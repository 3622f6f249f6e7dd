#pragma once

#include "ui/edit/Form_EditVoc.h"

#include <atomic>
#include <memory>

class QLineEdit;
class QPushButton;

// The sound editor: the vocabulary editor plus a sound file for each side,
// chosen with "...", played with the play button, or made from the side's
// meanings by text to speech with "Vorlesen lassen".
class TFormEditSound : public TFormEditVoc
{
    Q_OBJECT
public:
    explicit TFormEditSound(TQVL& core, QWidget* parent = nullptr);
    ~TFormEditSound() override;

    int CardKind() const override;
    TQVL_Card_Voc_Values Values() const override;
    void SetValues(const TQVL_Card_Voc_Values& values) override;

    // "...": a file dialog in the unit file's folder; the chosen full path goes into `input`.
    void ChooseFile(QLineEdit* input);
    // Plays the file named in `input` (a bare name lies in the lesson's
    // folder); nothing without a sound system.
    void PlayFile(const QLineEdit* input);
    // Speaks the meanings of one side into a new file in the lesson's folder
    // and names it in that side's input. The speaking runs on a worker; the
    // "Vorlesen lassen" buttons wait until the file is there.
    void RecordSide(bool foreignSide);

    QLineEdit* Edit_ForeignFileName = nullptr;
    QLineEdit* Edit_HomeFileName = nullptr;
    QPushButton* Button_ForeignFileName = nullptr;
    QPushButton* Button_HomeFileName = nullptr;
    QPushButton* Button_PlayForeign = nullptr;
    QPushButton* Button_PlayHome = nullptr;
    QPushButton* Button_ReadForeign = nullptr;
    QPushButton* Button_ReadHome = nullptr;

protected:
    QString HelpPage() const override;
    bool WithSoundFiles() const override { return true; }

private:
    void recorded(bool foreignSide, const QString& name, const QString& error);

    // The recording under way; the editor's end cancels it, so no file is left unnamed.
    std::shared_ptr<std::atomic<bool>> recording;
};
