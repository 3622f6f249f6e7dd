#pragma once

#include "app/QVL.h"
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

// The real core over a fresh installation (the sample units included) with
// the options and language names open and the sample learner logged in.
class LoggedInCoreTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override { core.CloseFiles(); }

    QString ProfilePath() const { return folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"); }

    TestFolders folders;
    TQVL core;
};
