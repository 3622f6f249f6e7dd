// A stand-alone run of the update dialog, the community screen and the about
// dialog over a temporary installation, so that their look can be checked on
// a real screen (scripts/screenshot-update.sh). Not part of the program.
//   update-demo <scene> <picture> [version service address] [community address]
//   scenes: list | errors | restart | community | offline | about
#include "core/QVL_System.h"
#include "ui/exchange/Form_AboutQuorvel.h"
#include "ui/exchange/Form_Internet.h"
#include "ui/exchange/Form_Updates.h"
#include "ui/shell/Application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QuorvelApplication::Configure(application);
    const QStringList arguments = application.arguments();
    const QString scene = arguments.value(1), picture = arguments.value(2);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("Data")));
    QFile settings(dir.filePath(QStringLiteral("Data/Update.xml")));
    settings.open(QIODevice::WriteOnly);
    settings.write("<root><version>1</version><link_getversioninfo>" + arguments.value(3).toUtf8() +
                   "</link_getversioninfo><updatenextstart>false</updatenextstart></root>");
    settings.close();

    QWidget* shown = nullptr;
    std::unique_ptr<QWidget> owner;
    TQVL_System system;
    system.ProgramVersion = QStringLiteral("8.0.0.1");
    if (scene == QLatin1String("about")) {
        owner = std::make_unique<TFormAboutQuorvel>(system);
    } else if (scene == QLatin1String("community") || scene == QLatin1String("offline")) {
        auto* screen = new TFormInternet;
        screen->resize(784, 520);
        screen->Navigate(arguments.value(4));
        owner.reset(screen);
    } else {
        auto* dialog = new TFormUpdates(system.ProgramVersion, dir.path());
        owner.reset(dialog);
        QTimer::singleShot(2500, dialog, [dialog, scene] {
            if (scene == QLatin1String("errors")) {
                dialog->Memo1->appendPlainText(QStringLiteral("Fehler beim Lesen der Datei \"/home/lernender/.local/share/Quorvel 8/Updates/Updateinstructions.xml\"!"));
                dialog->Memo1->appendPlainText(QStringLiteral("Update-Datei \"1/quorvel\" ist korrupt!"));
                dialog->PageControl1->setCurrentIndex(1);
            } else if (scene == QLatin1String("restart")) {
                dialog->PageControl1->setCurrentIndex(2);
            }
        });
    }
    shown = owner.get();
    shown->show();
    QTimer::singleShot(scene.startsWith(QLatin1String("comm")) || scene == QLatin1String("offline") ? 6000 : 3500,
                       &application, [&] {
                           shown->grab().save(picture);
                           application.quit();
                       });
    return application.exec();
}
