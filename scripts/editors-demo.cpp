// The main window over a fresh installation in a temporary folder, showing a
// card editor with a card of a sample lesson in it, the new-lesson dialog or
// the unit editor, so that their look can be checked on a real screen
// (scripts/screenshot-editors.sh). Not part of the program.
//   editors-demo <setup folder> voc | sound | grammar | picture | new | unitedit
#include "app/QVL.h"
#include "app/QVL_Setup.h"
#include "ui/edit/EditLauncher.h"
#include "ui/edit/Form_Edit.h"
#include "ui/edit/Form_UnitEdit.h"
#include "ui/edit/Form_UnitsNew.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_User.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 3)
        return 2;
    const QString setup = QString::fromLocal8Bit(argv[1]);
    const QString scene = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir folder;
    qputenv("QUORVEL_APPDATA", (folder.path() + QStringLiteral("/appdata")).toUtf8());
    qputenv("QUORVEL_DOCUMENTS", (folder.path() + QStringLiteral("/documents")).toUtf8());
    {
        TQVL installer;
        TQVL_Setup::Install(setup, *installer.System);
    }
    TMainForm window;
    window.move(0, 0);
    window.show();
    QTimer::singleShot(1500, &window, [&] {
        TQVL& core = window.Core();
        const QString documents = core.System->DocumentsFolder;
        if (!core.Users->HasActiveUser() || !core.Users->GetActiveUser().IsOpen)
            core.Users->GetActiveUser().Open(documents + QStringLiteral("/Benutzer/Lernender.qxs"));
        const QString units = documents + QStringLiteral("/Lektionen/");
        QString unit = QStringLiteral("Englisch - Grundwortschatz.qxu");
        if (scene == QLatin1String("sound"))
            unit = QStringLiteral("Englisch - Aussprache.qxu");
        else if (scene == QLatin1String("grammar"))
            unit = QStringLiteral("Englisch - Unregelmäßige Verben.qxu");
        else if (scene == QLatin1String("picture"))
            unit = QStringLiteral("Englisch - Bilder.qxu");
        core.Units->GetActiveUnit().Open(units + unit);
        window.ShowMainMenu();
        if (scene == QLatin1String("new")) {
            auto* dialog = new TFormUnitsNew(core, tPic, &window);
            dialog->Edit_Name->setText(QStringLiteral("Tiere auf dem Bauernhof"));
            dialog->open();
        } else if (scene == QLatin1String("unitedit")) {
            core.Units->GetActiveUnit().RequestWriteAccess();
            auto* dialog = new TFormUnitEdit(core, core.Units->GetActiveUnit(), &window);
            dialog->PageControl1->setCurrentIndex(1);
            dialog->CheckBox_Semicolon->setChecked(true);
            dialog->Button_Preview->click();
            dialog->open();
        } else if (TFormEdit* editor = OpenUnitEditor(window)) {
            editor->ShowFirst();
        }
    });
    return application.exec();
}
