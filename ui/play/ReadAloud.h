#pragma once

#include <QIcon>
#include <QString>

class QObject;
class QToolButton;
class QWidget;
struct TQVL_ReadAloud;

// The screens' side of reading aloud: the learner's switch (kept in the
// profile) and the playing of a card side's recording or spoken text.
namespace ReadAloud {

// Whether the logged-in learner has reading aloud switched on.
bool IsOn();
void SetOn(bool on);
// Plays the recording, or has the core's speech service synthesise the text
// on a worker thread and plays it through the sound system when it is ready,
// unless `context` (the screen asking) is gone by then or a newer request
// came. Nothing without a sound system; a language without a voice is said
// once per login in the message list, never as a box in the way.
void Play(const TQVL_ReadAloud& what, QObject* context);

// Whether a synthesis still runs (its result may still be on its way).
bool Busy();
// The switch button beside the sound buttons: checkable, showing IsOn(),
// switching it for the learner.
QToolButton* CreateButton(QWidget* parent);

// `icon` struck through, for the "off" look of a switch.
QIcon StruckIcon(const QIcon& icon);
// A speaker with lines of text: reading aloud.
QIcon SpeechIcon();

} // namespace ReadAloud
