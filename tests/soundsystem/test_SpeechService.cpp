// The program's one reader-aloud: its workers, what reaches the screens, and its end.
#include "core/QVL_Error.h"
#include "core/QVL_Notices.h"
#include "core/QVL_SpeechService.h"

#include <QCoreApplication>
#include <QObject>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

// Waits, on the worker, until the request is cancelled.
QString untilCancelled(const std::atomic<bool>& cancel, std::atomic<bool>& started)
{
    started = true;
    while (!cancel.load())
        QThread::msleep(1);
    return QStringLiteral("zu spät.wav");
}

} // namespace

TEST(SpeechService, OnlyTheLatestRequestDeliversOnTheContextsThread)
{
    TQVL_SpeechService service;
    QObject context;
    QStringList delivered;
    QThread* deliveredOn = nullptr;
    const auto record = [&](const QString& file, const QString& error) {
        delivered << file + QLatin1Char('|') + error;
        deliveredOn = QThread::currentThread();
    };
    std::atomic<bool> started = false;
    const auto first = service.Run(
        [&started](TQVL_System_Speech&, const std::atomic<bool>& cancel) { return untilCancelled(cancel, started); },
        &context, record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.load(); }, 5000));
    EXPECT_TRUE(service.Busy());
    // The learner moved on to the next card.
    service.Run([](TQVL_System_Speech&, const std::atomic<bool>&) { return QStringLiteral("neu.wav"); }, &context,
                record);
    EXPECT_TRUE(first->load()) << "the request before is cancelled";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.Busy(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, QStringList{QStringLiteral("neu.wav|")});
    EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());

    service.Run(
        [](TQVL_System_Speech&, const std::atomic<bool>&) -> QString {
            throw TQVL_Error(QStringLiteral("Für die Sprache \"fao\" gibt es keine Sprachausgabe."));
        },
        &context, record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 2; }, 5000));
    EXPECT_EQ(delivered.last(), QStringLiteral("|Für die Sprache \"fao\" gibt es keine Sprachausgabe."));
}

TEST(SpeechService, NothingReachesAContextThatIsGone)
{
    TQVL_SpeechService service;
    auto context = std::make_unique<QObject>();
    bool delivered = false;
    std::atomic<bool> release = false;
    service.Run(
        [&release](TQVL_System_Speech&, const std::atomic<bool>&) {
            while (!release.load())
                QThread::msleep(1);
            return QStringLiteral("a.wav");
        },
        context.get(), [&](const QString&, const QString&) { delivered = true; });
    context.reset();
    release = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.Busy(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(delivered);
}

TEST(SpeechService, ItsEndCancelsTheWorkersAndWaitsForThem)
{
    QObject context;
    bool delivered = false;
    std::atomic<bool> started = false, ended = false;
    {
        TQVL_SpeechService service;
        service.Run(
            [&](TQVL_System_Speech&, const std::atomic<bool>& cancel) {
                const QString file = untilCancelled(cancel, started);
                // What the worker still does after the cancel is waited for.
                QThread::msleep(50);
                ended = true;
                return file;
            },
            &context, [&](const QString&, const QString&) { delivered = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return started.load(); }, 5000));
    }
    EXPECT_TRUE(ended) << "no worker outlives the service";
    QCoreApplication::processEvents();
    EXPECT_FALSE(delivered);
}

TEST(SpeechService, AFailureIsToldOncePerSession)
{
    QStringList shown;
    const TQVL_Notices::Receiver previous = TQVL_Notices::Install([&shown](const QString& text) { shown << text; });
    TQVL_SpeechService service;
    const QString noVoice = QStringLiteral("Für die Sprache \"fao\" gibt es keine Sprachausgabe.");
    service.TellOnce(noVoice);
    service.TellOnce(noVoice);
    service.TellOnce(QStringLiteral("Die Sprachausgabe kann nicht gestartet werden."));
    EXPECT_EQ(shown.size(), 2);
    service.StartSession();
    service.TellOnce(noVoice);
    EXPECT_EQ(shown.size(), 3) << "the next login hears it again";
    EXPECT_EQ(shown.last(), noVoice);
    TQVL_Notices::Install(previous);
}
