#pragma once

#include "core/QVL_DateTime.h"
#include "query/QVL_Query_ActiveUser.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_HookHandle.h"
#include "query/QVL_Query_Hooks.h"
#include "query/QVL_Query_Session.h"
#include "query/QVL_Query_Step.h"
#include "query/QVL_Query_Turn.h"
#include "query/QVL_Query_Timer.h"
#include "query/QVL_Query_Type.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class TQVL_Query_Card;
class TQVL_Query_Cardpile;
class TQVL_Query_Options;
class TQVL_Query_ReviewRecorder;
class TQVL_Query_Session;
class TQVL_Statistics_LastQuery;
class TQVL_Unit;

// The query controller: runs exercise phases over the card pile until fewer
// than two cards remain or the window stops it, keeps the totals, and stores
// the results in the active user's profile when it stops. The window installs
// the hooks (inherited from TQVL_Query_Hooks; a screen through InstallHooks)
// and drives it with Start, Stop,
// DisplayQuestionEnd and DisplayAnswerEnd; the engine never touches a window.
// Everything runs on the user-interface thread.
class TQVL_Query : public TQVL_Query_Hooks
{
public:
    TQVL_Query();
    ~TQVL_Query();
    TQVL_Query(const TQVL_Query&) = delete;
    TQVL_Query& operator=(const TQVL_Query&) = delete;

    // Hands the hooks to one window until the returned handle goes or is
    // reset; a window that installs its hooks later takes them over.
    [[nodiscard]] TQVL_Query_HookHandle InstallHooks(TQVL_Query_Hooks hooks);

    // Starts a query over the pile; fails when one is running, when there is
    // no active user, or when the pile is empty.
    void Start();
    // Stops the running query and stores its results (unless the options say
    // otherwise). Afterwards the query is idle and its pile empty, also when
    // storing fails; that error is raised last.
    void Stop();
    // The learner asks for the result ("Ergebnis"); nothing when no question is shown.
    void DisplayQuestionEnd();
    // The learner closed the answer; `right` is his own verdict, which counts
    // only with UseSelfEvaluation. Nothing when no answer is shown.
    void DisplayAnswerEnd(bool right);

    bool IsRunning() const { return !Idle; }

    // "Ich hatte recht" while the answer is shown: a wrong or almost-right
    // verdict of the check counts as right (results, stage, FSRS) and the log
    // marks it overridden. False, changing nothing, when there is no such verdict.
    bool OverrideVerdict();
    bool CanOverrideVerdict() const;
    // Takes back the answer counted last while the next question is shown:
    // the counts, points, rounds and phases are again exactly as they were
    // before it, its card is asked again in the same direction, and the log
    // gets an undo line. One answer only; false (nothing changes) otherwise.
    bool UndoLastAnswer();
    bool CanUndoLastAnswer() const;
    // StopTime - StartTime when idle, else now - StartTime (a span in days).
    TQVL_DateTime GetDuration() const;
    // The totals of the finished phases plus the running phase and round.
    qint32 GetQueriedTotal() const;
    qint32 GetRightTotal() const;
    // The running phase's counts; fail with "No session running to get results for" between phases.
    qint32 GetSessionQueried() const;
    qint32 GetSessionRight() const;
    void SetReferenceDate(TQVL_DateTime date);
    void SetLongTermMode(bool longTermMode);

    // Hours, minutes and seconds of a span below one day, as whole seconds.
    static qint64 WholeSeconds(TQVL_DateTime duration);

    std::unique_ptr<TQVL_Query_Options> Options;
    std::unique_ptr<TQVL_Query_Cardpile> Cardpile;
    // The cards of the next exercise phase.
    std::vector<TQVL_Query_Card*> CardList;
    // The exercise phase; made once and reused, running only while a phase runs.
    std::unique_ptr<TQVL_Query_Session> Session;
    int SessionCount = 0;
    bool Idle = true;
    // Counts of the finished exercise phases.
    qint32 RightTotal = 0;
    qint32 QueriedTotal = 0;
    TQVL_DateTime StartTime;
    TQVL_DateTime StopTime;
    // Set by the menus, read by the windows.
    TQVL_QueryType QueryType = TQVL_QueryType::Simple;
    bool LongTermMode = false;
    TQVL_DateTime ReferenceDate;

    // The logged-in user; a null Profile means none.
    std::function<TQVL_Query_ActiveUser()> ActiveUser;
    // The active unit, for the long-term-storage mark of the stored results; may return nullptr.
    std::function<const TQVL_Unit*()> ActiveUnit;
    // Which units the last query covered and whether its results were stored; not owned, may be null.
    TQVL_Statistics_LastQuery* LastQuery = nullptr;
    // Random choices: shuffled rounds, direction 0, multiple-choice cards. Seeded from the clock by default.
    TQVL_Query_Random Random;
    // Makes the step timers; empty for QTimer-based ones. Set it before the first Start.
    TQVL_Query_TimerFactory TimerFactory;
    // This machine's id in the review logs, asked at each Start of a query
    // whose results are stored (never in play mode, never without write
    // access to the profile). Empty, or returning an empty id: no log.
    std::function<QString()> DeviceId;
    // The time of an answer in the log, milliseconds since 1970 (UTC); the system clock by default.
    std::function<qint64()> NowMs;
    // A monotonic clock in milliseconds for the answer times; the steady clock by default.
    std::function<qint64()> SteadyMs;
    // Called by Start before the query takes anything from the results (the
    // sync brings in other machines' results here); an error of it is its own.
    std::function<void()> OnStarting;
    // Called by Stop once a query's results are stored in the profile.
    std::function<void()> OnResultsStored;
    // Writes the running query's answers to the review log.
    std::unique_ptr<TQVL_Query_ReviewRecorder> Recorder;

private:
    friend class TQVL_Query_HookHandle;
    // The handle of the window whose hooks are installed, or nullptr.
    TQVL_Query_HookHandle* hookHandle = nullptr;

    void startSession();
    void beginReviewLog(const TQVL_Query_ActiveUser& user);
    void answerCounted(TQVL_Query_Card& entry);
    void noteUndoPoint();

    // The query as a question is shown.
    struct UndoPoint
    {
        std::vector<std::pair<TQVL_Query_Card*, TQVL_Query_Card>> Cards;
        std::vector<TQVL_Query_Card*> CardList;
        int SessionCount = 0;
        qint32 RightTotal = 0;
        qint32 QueriedTotal = 0;
        TQVL_Query_Session::State Session;
        TQVL_Query_Turn::State Turn;
        TQVL_Query_Step::State Step;
    };
    // Taken as the question now shown appeared; becomes `undoPoint` when its answer is counted.
    std::optional<UndoPoint> questionPoint;
    // Before the answer counted last.
    std::optional<UndoPoint> undoPoint;
    void sessionEnded();
    // Whether the results were stored.
    bool storeResults();
    void releaseWriteAccess();
    bool left(quint64 run) const { return Idle || run != runNumber; }

    quint64 runNumber = 0;
};
