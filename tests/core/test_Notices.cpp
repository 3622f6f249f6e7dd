#include "core/QVL_Notices.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

// The receiver is the window's message list: a notice raised on a worker
// thread (a file the sync reads) reaches it on the application's thread.
TEST(Notices, AWorkerThreadsNoticeReachesTheReceiverOnTheApplicationsThread)
{
    QStringList texts;
    QList<QThread*> threads;
    const TQVL_Notices::Receiver previous = TQVL_Notices::Install([&](const QString& text) {
        texts << text;
        threads << QThread::currentThread();
    });
    std::thread worker([] { TQVL_Notices::Show(QStringLiteral("vom Arbeitsfaden")); });
    worker.join();
    EXPECT_TRUE(texts.isEmpty()) << "not on the worker's thread";
    TQVL_Notices::Show(QStringLiteral("hier"));
    QCoreApplication::processEvents();
    TQVL_Notices::Install(previous);
    EXPECT_EQ(texts, QStringList({QStringLiteral("hier"), QStringLiteral("vom Arbeitsfaden")}));
    EXPECT_EQ(threads, QList<QThread*>({QThread::currentThread(), QThread::currentThread()}));
}
