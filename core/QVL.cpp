#include "core/QVL.h"

#include "core/QVL_Error.h"
#include "core/QVL_Setup.h"

namespace {

TQVL* current = nullptr;
// Cores that Instance() created itself; released at exit.
std::unique_ptr<TQVL> createdByInstance;

} // namespace

TQVL::TQVL()
    : System(std::make_unique<TQVL_System>(this)), Units(std::make_unique<TQVL_Units>()),
      Languages(std::make_unique<TQVL_Languages>()), Options(std::make_unique<TQVL_Options>()),
      CardArrangements(std::make_unique<TQVL_CardArrangements>()),
      LongTermStorages(std::make_unique<TQVL_LongTermStorages>()), updateContext(std::make_unique<QObject>())
{
    UpdateSearch = [](const QString&, const QString&) -> bool {
        throw TQVL_Error(QStringLiteral("Die Suche nach Updates ist in dieser Version nicht verfügbar."));
    };
    current = this;
}

TQVL::~TQVL()
{
    if (UpdateThread)
        UpdateThread->requestInterruption();
    updateContext.reset();
    LongTermStorages.reset();
    CardArrangements.reset();
    Units.reset();
    Languages.reset();
    Options.reset();
    System.reset();
    if (current == this)
        current = nullptr;
}

TQVL& TQVL::Instance()
{
    if (!current)
        createdByInstance = std::make_unique<TQVL>();
    return *current;
}

TQVL* TQVL::Current()
{
    return current;
}

void TQVL::Startup()
{
    try {
        TQVL_Setup::InstallIfFresh(*System);
        Options->Open(System->AppDataFolder + QStringLiteral("/Data/Options.xml"));
        Languages->Names->Open(System->AppDataFolder + QStringLiteral("/Data/LanguageNames.xml"));
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(QStringLiteral("Eine zum Betrieb der Anwendung benötigte Datei konnte nicht "
                                                   "gefunden werden. Bitte installieren Sie die Anwendung neu."),
                                    error.Message());
    }
    if (!Options->sound_disabled)
        System->InitSoundSystem();
    AutoloadUser();
}

void TQVL::AutoloadUser()
{
    // Until profiles can be opened here, every start asks the learner to choose.
    if (OnUserSelectionRequired)
        OnUserSelectionRequired();
}

void TQVL::StartUpdateSearch()
{
    if (OnUpdateSearchStart)
        OnUpdateSearchStart();
    auto* thread = new TQVL_UpdateThread(UpdateSearch, OnUpdateSearchDone, updateContext.get(),
                                         System->ProgramVersion, System->AppDataFolder);
    UpdateThread = thread;
    thread->start();
}

void TQVL::CloseFiles()
{
    if (Units->GetActiveUnit().IsOpen)
        Units->GetActiveUnit().CloseFile();
    if (Options->IsOpen)
        Options->CloseFile();
}
