#pragma once

#include "ui/edit/Form_EditVoc.h"

class QLineEdit;
class QPushButton;

// The sound editor: the vocabulary editor plus a sound file for each side,
// chosen with "..." and played with the play button.
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
    // Plays the file named in `input`; nothing without a sound system.
    void PlayFile(const QLineEdit* input);

    QLineEdit* Edit_ForeignFileName = nullptr;
    QLineEdit* Edit_HomeFileName = nullptr;
    QPushButton* Button_ForeignFileName = nullptr;
    QPushButton* Button_HomeFileName = nullptr;
    QPushButton* Button_PlayForeign = nullptr;
    QPushButton* Button_PlayHome = nullptr;

protected:
    QString HelpPage() const override;
    bool WithSoundFiles() const override { return true; }
};
