// A stand-alone window that shows the unit selection, the long-term storage
// screen, the new-storage dialog and the folder tree over a fresh installation
// in a temporary folder, so that their look can be checked on a real screen
// (scripts/screenshot-units.sh). Not part of the program.
//   units-demo <setup folder> units | archive | storage | new | folders
#include "app/QVL.h"
#include "app/QVL_Setup.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/units/Form_LongTermStorage.h"
#include "ui/units/Form_LongTermStorageNew.h"
#include "ui/units/Form_UnitsSelect.h"
#include "ui/units/Frame_Units_List.h"
#include "ui/units/Model_Units.h"
#include "ui/shell/WindowManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The screen area of the main window in its colour (red 150, green 176, blue 205).
class DemoWindow : public QWidget
{
public:
    explicit DemoWindow(TQVL& core)
    {
        setWindowTitle(QStringLiteral(" Vokabeltrainer Quorvel"));
        resize(784, 604);
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor(150, 176, 205));
        setPalette(colours);
        Manager = new TWindowManager(this, &core);
    }

    TWindowManager* Manager = nullptr;
};

void copyFile(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    QFile::copy(from, to);
}

// Results as a learner would have them after some weeks.
void addResults(TQVL& core)
{
    TQVL_Result_User& results = core.Users->GetActiveUser().Results();
    TQVL_Result_Unit& vocabulary = results.GetOrCreateUnit(QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B01}"));
    vocabulary.lastquerydate = TQVL_DateTime::FromParts(2024, 3, 5, 14, 30, 0);
    vocabulary.last_queried = 20;
    vocabulary.last_right = 15;
    TQVL_Result_Unit& verbs = results.GetOrCreateUnit(QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B04}"));
    verbs.lastquerydate = TQVL_DateTime::FromParts(2024, 2, 28, 9, 5, 0);
    verbs.last_queried = 34;
    verbs.last_right = 31;
}

void addStorages(TQVL& core, const QString& storages)
{
    for (const QString& foreign : {QStringLiteral("eng"), QStringLiteral("fre")}) {
        TQVL_LongTermStorage* storage = core.LongTermStorages->OpenOrCreateStorage(
            storages, *core.Languages->Names, core.Options->languages_langcode_home, foreign);
        if (foreign == QLatin1String("eng")) {
            TQVL_Result_Unit& unit = core.Users->GetActiveUser().Results().GetOrCreateUnit(storage->Uid);
            unit.longtermstorage = true;
            for (int card = 1; card <= 23; ++card)
                unit.GetOrCreateCard(card);
        }
        core.LongTermStorages->CloseAdditionFile(storage);
    }
}

} // namespace

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

    TQVL core;
    TQVL_Setup::Install(setup, *core.System);
    core.Options->Open(core.System->AppDataFolder + QStringLiteral("/Data/Options.xml"));
    core.Languages->Names->Open(core.System->AppDataFolder + QStringLiteral("/Data/LanguageNames.xml"));
    const QString documents = core.System->DocumentsFolder;
    core.Users->GetActiveUser().Open(documents + QStringLiteral("/Benutzer/Lernender.qxs"));
    const QString units = documents + QStringLiteral("/Lektionen");
    copyFile(units + QStringLiteral("/Englisch - Grundwortschatz.qxu"), units + QStringLiteral("/Archiv/Alt.qxu"));
    copyFile(units + QStringLiteral("/Englisch - Grundwortschatz.qxu"), units + QStringLiteral("/Französisch.qxu"));
    addResults(core);
    addStorages(core, documents + QStringLiteral("/Storages"));

    DemoWindow window(core);
    window.move(0, 0);
    window.show();
    QTimer::singleShot(100, &window, [&] {
        if (scene == QLatin1String("units")) {
            auto* screen = window.Manager->SwitchWindow<TFormUnitsSelect>();
            auto* model = static_cast<TModelUnits*>(screen->VST1->model());
            for (int row = 0; row < model->RowCount(); ++row)
                if (model->Row(row).Name == QLatin1String("Englisch - Grundwortschatz.qxu"))
                    screen->VST1->setCurrentIndex(model->index(row, 0));
        } else if (scene == QLatin1String("archive")) {
            auto* screen = window.Manager->SwitchWindow<TFormUnitsSelect>();
            screen->VST1->setCurrentIndex(screen->VST1->model()->index(0, 0));
            screen->ChooseFocused();
        } else if (scene == QLatin1String("storage") || scene == QLatin1String("new")) {
            auto* screen = window.Manager->SwitchWindow<TFormLongTermStorage>();
            screen->VST1->setCurrentItem(screen->VST1->topLevelItem(0));
            if (scene == QLatin1String("new")) {
                auto* dialog = new TFormLongTermStorageNew(core, &window);
                dialog->open();
            }
        } else {
            auto* frame = new TFrameUnitsList(core, &window);
            frame->setGeometry(100, 100, 300, 300);
            frame->show();
            frame->Refresh();
            frame->SelectFolder(units + QStringLiteral("/Archiv"));
        }
    });
    const int result = QApplication::exec();
    core.CloseFiles();
    return result;
}
