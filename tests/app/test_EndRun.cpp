#include "app/QVL.h"
#include "app/QVL_EndRun.h"
#include "content/QVL_Unit.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Timer_Manual.h"
#include "tests/support/LoggedInCoreTest.h"

#include <gtest/gtest.h>

namespace {

// A pile over the active unit and one further unit, as a run over several units has it.
class EndRunTest : public LoggedInCoreTest
{
protected:
    void SetUp() override
    {
        LoggedInCoreTest::SetUp();
        core.Query->TimerFactory = timers.Factory();
        TQVL_Unit& active = core.Units->GetActiveUnit();
        active.Open(lesson("Englisch - Grundwortschatz.qxu"));
        auto* further = static_cast<TQVL_Unit*>(core.Units->CreateAdditionalFile());
        further->Open(lesson("Englisch - Aussprache.qxu"));
        core.Query->Cardpile->AddUnit(active);
        core.Query->Cardpile->AddUnit(*further);
    }

    QString lesson(const QString& name) const { return folders.Documents() + QStringLiteral("/Lektionen/") + name; }
    void expectEnded() const
    {
        EXPECT_FALSE(core.Query->IsRunning());
        EXPECT_TRUE(core.Query->Cardpile->isEmpty());
        EXPECT_EQ(core.Units->AdditionalFileCount(), 0) << "the further units were opened for the run alone";
        EXPECT_TRUE(core.Units->GetActiveUnit().IsOpen);
    }

    TQVL_Query_Timer_Manual timers;
};

TEST_F(EndRunTest, ARunningQueryStopsAndTheFurtherUnitsClose)
{
    core.Query->Start();
    ASSERT_TRUE(core.Query->IsRunning());
    EndRun(core);
    expectEnded();
}

TEST_F(EndRunTest, APileThatAFailedStartLeftIsEmptied)
{
    EndRun(core);
    expectEnded();
}

} // namespace
