#include "tests/support/LoggedInCoreTest.h"

#include "app/QVL_Setup.h"

void LoggedInCoreTest::SetUp()
{
    ASSERT_TRUE(TQVL_Setup::InstallIfFresh(*core.System));
    core.Options->Open(folders.AppData() + QStringLiteral("/Data/Options.xml"));
    core.Languages->Names->Open(folders.AppData() + QStringLiteral("/Data/LanguageNames.xml"));
    core.Users->GetActiveUser().Open(ProfilePath());
}
