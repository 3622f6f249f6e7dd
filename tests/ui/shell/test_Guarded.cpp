#include "core/QVL_Error.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/shell/Guarded.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

TEST(Guarded, TheLearnerSeesEngineTextsAndNeverALibrarysOwn)
{
    ScriptedDialogService dialogs;
    EXPECT_TRUE(Guarded([] {}));
    EXPECT_FALSE(Guarded([] { throw TQVL_Error(QStringLiteral("Datei ist schreibgeschützt!")); }));
    EXPECT_FALSE(Guarded([] { throw std::runtime_error("basic_string::_M_create"); }));
    EXPECT_FALSE(Guarded([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(Guarded([] { throw 42; }));
    EXPECT_EQ(dialogs.Errors, (QStringList{QStringLiteral("Datei ist schreibgeschützt!"), UnexpectedErrorText,
                                           UnexpectedErrorText, UnexpectedErrorText}));
}
