#pragma once

// The started main window over a fresh installation with the sample learner
// logged in, ready to run a query over some cards of a sample unit: manual
// step timers, a seeded random source, recorded sounds and the options the
// query menu sets.
#include "content/QVL_Card.h"
#include "content/QVL_Card_Container.h"
#include "content/QVL_Unit.h"
#include "app/QVL.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_Session.h"
#include "query/QVL_Query_Step.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_Query_Timer_Manual.h"
#include "query/QVL_Query_Turn.h"
#include "query/QVL_Query_Turn_Options.h"
#include "tests/support/TestFolders.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_User.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <random>

// Types `text` into the focused `field` one key at a time, as a keyboard
// would, so that the main window's character replacement sees every key
// (QTest's key clicks know only ASCII).
inline void TypeText(QWidget& field, const QString& text)
{
    EXPECT_TRUE(field.hasFocus()) << "the learner types into the focused field";
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&field, &release);
    }
}

class QueryWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        previousPlayer = TFormQueryMeta::InstallSoundPlayer([this](const QString& file) { Played << file; });
        window = std::make_unique<TMainForm>();
        window->resize(784, 604);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000));
        ProfilePath = folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs");
        window->Core().Users->GetActiveUser().Open(ProfilePath);
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();

        TQVL_Query& query = Query();
        query.TimerFactory = timers.Factory();
        auto engine = std::make_shared<std::mt19937>(20240611u);
        query.Random = [engine](int bound) {
            return bound <= 1 ? 0 : std::uniform_int_distribution<int>(0, bound - 1)(*engine);
        };
        SetOptions(false);
    }
    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
        TFormQueryMeta::InstallSoundPlayer(previousPlayer);
    }

    TQVL_Query& Query() const { return *window->Core().Query; }
    TQVL_Unit& Unit() const { return window->Core().Units->GetActiveUnit(); }
    TFormMeta* Screen() const { return window->WindowManager().CurrentWindow(); }

    // The settings the query menu makes, asking foreign -> home. The rounds
    // keep the order of the pile so that the tests can script the answers;
    // MenuShuffledQuery covers the shuffled rounds.
    void SetOptions(bool selfEvaluated)
    {
        TQVL_Query_Options& options = *Query().Options;
        options.storeresults = true;
        options.selfevaluation = selfEvaluated;
        options.ApplyMenuSettings(true);
        options.Turn().mix = false;
        TQVL_Query_Step_Options& step = options.Step();
        step.direction = 1;
        step.sounds = true;
        step.evaluation->ignorecase = true;
        step.evaluation->allmeaningscorrect = false;
    }

    void OpenUnit(const QString& name) { Unit().Open(folders.Documents() + QStringLiteral("/Lektionen/") + name); }
    // Puts the active unit's cards with these uids into the pile, in this order.
    void Pile(std::initializer_list<int> uids)
    {
        for (int uid : uids) {
            const TQVL_Card* card = Unit().Cards->FindByUid(uid);
            ASSERT_NE(card, nullptr) << uid;
            Query().Cardpile->AddCard(Unit(), *card);
        }
        // As AddUnit does, so that the statistics know the unit.
        std::vector<const TQVL_Unit*>& units = Query().Cardpile->Units;
        if (std::find(units.begin(), units.end(), &Unit()) == units.end())
            units.push_back(&Unit());
    }
    template <class TWindow> TWindow* Start()
    {
        TFormQueryMeta* started = OpenQueryWindow(*window);
        auto* typed = dynamic_cast<TWindow*>(started);
        EXPECT_NE(typed, nullptr);
        EXPECT_TRUE(Query().IsRunning());
        return typed;
    }
    // The card the running step asks.
    const TQVL_Card* Asked() const
    {
        const TQVL_Query_Step& step = *Query().Session->Turn->Step;
        return step.Card ? step.Card->Card : nullptr;
    }

    TestFolders folders;
    ScriptedDialogService dialogs;
    TQVL_Query_Timer_Manual timers;
    std::unique_ptr<TMainForm> window;
    QString ProfilePath;
    QStringList Played;

private:
    TFormQueryMeta::TSoundPlayer previousPlayer;
};
