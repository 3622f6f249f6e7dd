// Shared main of every test executable: a Qt application object, offscreen,
// and a fresh pair of application-data and documents folders per process.
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

#ifdef QUORVEL_TEST_GUI
#include "ui/shell/InterfaceLocale.h"

#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    TestFolders folders;
#ifdef QUORVEL_TEST_GUI
    // The screens show figures as the program does, German whatever LANG says.
    QLocale::setDefault(InterfaceLocale());
#endif
    return RUN_ALL_TESTS();
}
