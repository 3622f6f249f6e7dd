#pragma once

#include "ui/play/Form_PlayMeta.h"

#include <QFont>

class QLabel;

// Plays vocabulary, sound and storage units back: the asked meaning on the
// upper line, the answer on the lower one. Sound units play the card's
// recordings (switchable); cards without one may be read aloud.
class TFormPlayVoc : public TFormPlayMeta
{
    Q_OBJECT
public:
    // The wait between the answer's text and its sound; it never blocks the screen.
    static constexpr int AnswerSoundDelayMs = 2500;

    TFormPlayVoc(QWidget* parent, TQVL& core);

    bool SoundAvailable() const { return soundAvailable; }
    bool SoundOn() const { return soundOn; }
    // The answer sound waits; the step it belongs to is still shown.
    bool AnswerSoundPending() const;

    // Each line and its white copy one pixel right and down.
    QLabel* Label_Question = nullptr;
    QLabel* Label_QuestionShadow = nullptr;
    QLabel* Label_Answer = nullptr;
    QLabel* Label_AnswerShadow = nullptr;
    QToolButton* Button_SoundOn = nullptr;  // "Tonausgabe aktivieren", shown while off
    QToolButton* Button_SoundOff = nullptr; // "Tonausgabe deaktivieren", shown while on
    QToolButton* Button_ReadAloud = nullptr;

protected:
    void OnDisplayQuestion(TQVL_Query_Card& card, int direction) override;
    void OnDisplayAnswer(TQVL_Query_Card& card, int direction) override;
    void Arrange() override;

private:
    void setSound(bool on);
    void playAnswerSound(quint64 shown);
    void setLine(QLabel* line, QLabel* shadow, const QString& text, const QFont& font);

    bool soundAvailable = false;
    bool soundOn = false;
    QFont lineFont;
    // Counts the answers shown, so that a late answer sound never plays over the next card.
    quint64 answerNumber = 0;
    quint64 pendingAnswer = 0;
    TQVL_Query_Card* answerCard = nullptr;
    int answerDirection = 0;
};
