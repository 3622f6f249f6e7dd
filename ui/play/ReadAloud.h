#pragma once

#include <QIcon>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QObject;
class QToolButton;
class QWidget;
class TQVL_System_Speech;
struct TQVL_ReadAloud;

// The screens' side of reading aloud: the learner's switch (kept in the
// profile) and the playing of a card side's recording or spoken text.
namespace ReadAloud {

// Whether the logged-in learner has reading aloud switched on.
bool IsOn();
void SetOn(bool on);
// Plays the recording, or synthesises the text on a worker thread and plays
// it through the sound system when it is ready, unless `context` (the screen
// asking) is gone by then or a newer request came. Nothing without a sound
// system; a language without a voice is said once per run in the message
// list, never as a box in the way.
void Play(const TQVL_ReadAloud& what, QObject* context);

// Synthesis takes its time, so it never runs on the window's thread.
// `job` runs on a worker thread with `speech` and the request's cancel flag
// and returns a file name; `done` gets that name, or the German error text,
// on the window's thread, but only while `context` exists and the request is
// not cancelled. Starting a request cancels the one before it. Returns the
// new request's cancel flag.
using SpeechJob = std::function<QString(TQVL_System_Speech& speech, const std::atomic<bool>& cancel)>;
using SpeechDone = std::function<void(const QString& file, const QString& error)>;
std::shared_ptr<std::atomic<bool>> InBackground(std::shared_ptr<TQVL_System_Speech> speech, SpeechJob job,
                                                QObject* context, SpeechDone done);
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
