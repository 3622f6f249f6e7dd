#include "app/QVL.h"

#include "core/QVL_Error.h"
#include "app/QVL_Setup.h"
#include "content/QVL_LanguageMatch.h"
#include "content/QVL_Unit_Integration.h"
#include "core/QVL_Notices.h"
#include "exchange/QVL_Backup.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "update/QVL_Update.h"
#include "users/QVL_DeviceId.h"
#include "users/QVL_User_Rights.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <exception>

namespace {

TQVL* current = nullptr;
// Cores that Instance() created itself; released at exit.
std::unique_ptr<TQVL> createdByInstance;

} // namespace

TQVL::TQVL()
    : System(std::make_unique<TQVL_System>(this)), Units(std::make_unique<TQVL_Units>()),
      Users(std::make_unique<TQVL_Users>()), Languages(std::make_unique<TQVL_Languages>()),
      Options(std::make_unique<TQVL_Options>()), Query(std::make_unique<TQVL_Query>()),
      Statistics(std::make_unique<TQVL_Statistics>()),
      CardArrangements(std::make_unique<TQVL_CardArrangements>()),
      LongTermStorages(std::make_unique<TQVL_LongTermStorages>()), updateContext(std::make_unique<QObject>())
{
    Users->GetActiveUser().Options = Options.get();
    // The query reaches the logged-in user's profile and the statistics through these.
    Query->ActiveUser = [this] {
        TQVL_Query_ActiveUser user;
        if (Users->HasActiveUser()) {
            TQVL_User& active = Users->GetActiveUser();
            user = {&active, &active.Results(), &active.alltimequeryseconds};
        }
        return user;
    };
    Query->ActiveUnit = [this]() -> const TQVL_Unit* {
        return Units->GetActiveUnit().IsOpen ? &Units->GetActiveUnit() : nullptr;
    };
    Query->LastQuery = Statistics->LastQuery.get();
    // Settings that keep user files read-only keep the review logs beside the profiles unwritten too.
    Query->DeviceId = [this]() -> QString {
        if (!Options->IsOpen || Options->userfiles_readonly)
            return {};
        return TQVL_DeviceId::Ensure(*Options);
    };
    Statistics->ActiveResults = [this]() -> TQVL_Result_User* {
        return Users->HasActiveUser() ? &Users->GetActiveUser().Results() : nullptr;
    };
    // The unit list shows the success figures from the active user's results.
    Units->Units().ResultLookup = [this](const QString& uid, TQVL_UnitResultFigures& figures) {
        if (!Users->HasActiveUser())
            return false;
        const TQVL_Result_Unit* unit = Users->GetActiveUser().Results().FindUnit(uid);
        if (!unit)
            return false;
        figures = {unit->lastquerydate, unit->last_right, unit->last_queried, unit->all_right, unit->all_queried};
        return true;
    };
    UpdateSearch = [](const QString& programVersion, const QString& dataFolder) {
        TQVL_Update engine(programVersion, dataFolder);
        return engine.Search();
    };
    current = this;
}

TQVL::~TQVL()
{
    // The search's download stops at the request; waiting for it keeps the
    // thread from outliving the process's end inside the network stack.
    if (UpdateThread) {
        UpdateThread->requestInterruption();
        UpdateThread->wait(QDeadlineTimer(UpdateJoinTimeoutMs));
    }
    updateContext.reset();
    LongTermStorages.reset();
    CardArrangements.reset();
    // Screens stop their query when they close; this is only the last safety net.
    if (Query->IsRunning()) {
        try {
            Query->Stop();
        } catch (const std::exception&) {
        }
    }
    Query->LastQuery = nullptr;
    Statistics.reset();
    Query.reset();
    Units.reset();
    Users.reset();
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
    if (!DeferSoundSystem)
        StartSoundSystem();
    AutoloadUser();
}

void TQVL::StartSoundSystem()
{
    if (!Options->sound_disabled && !System->SoundSystem)
        System->InitSoundSystem();
}

void TQVL::AutoloadUser()
{
    if (!Options->users_autoload) {
        RequestUserSelection();
        return;
    }
    try {
        Users->GetActiveUser().Open(Options->AutoloadProfile(System->DocumentsFolder));
    } catch (...) {
        RequestUserSelection();
        throw;
    }
}

void TQVL::RequestUserSelection()
{
    Users->Provider().Clear();
    Users->Provider().Scan(Options->UsersFolder(System->DocumentsFolder));
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

QString TQVL::StoragesFolder() const
{
    return System->DocumentsFolder + QStringLiteral("/Storages");
}

void TQVL::CloseFiles()
{
    // Every step runs even when one before it fails (a profile that cannot be
    // written at logout must not leave the options open); the first error is
    // raised once all are closed.
    std::exception_ptr firstError;
    const auto step = [&firstError](const auto& close) {
        try {
            close();
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    };
    // Further units of a multi-unit query that a screen left open.
    step([this] { Units->CloseAdditionalFiles(); });
    step([this] {
        if (Units->GetActiveUnit().IsOpen)
            Units->GetActiveUnit().CloseFile();
    });
    step([this] {
        if (Users->HasActiveUser())
            Users->GetActiveUser().Close();
    });
    step([this] {
        if (Options->IsOpen)
            Options->CloseFile();
    });
    if (firstError)
        std::rethrow_exception(firstError);
}

QString TQVL::IntegrateUnit(TQVL_Unit& destination, const TQVL_Unit& source, bool skipConflicts)
{
    // Years of repetitions lie in a storage: a wrong merge must be undoable by hand.
    QString backup;
    if (destination.Typ == tLongTermStorage && TQVL_Unit_Integration::Mismatch(destination, source).isEmpty() &&
        QFileInfo::exists(destination.FileName))
        backup = TQVL_Backup::BackupFile(destination.FileName);
    const int before = TQVL_Unit_Integration::Integrate(destination, source, skipConflicts);
    if (!backup.isEmpty())
        TQVL_Notices::Show(QStringLiteral("Sicherungskopie des Langzeitspeichers angelegt: %1").arg(backup));
    if (destination.Typ != tLongTermStorage || !Users->HasActiveUser())
        return backup;
    TQVL_Result_Unit& results = Users->GetActiveUser().Results().GetOrCreateUnit(destination.Uid, destination.FileName);
    results.longtermstorage = true;
    TQVL_Card_Container& cards = *destination.Cards;
    for (int i = 0; i < cards.Count(); ++i) {
        TQVL_Result_Card& record = results.GetOrCreateCard(cards.Card(i)->Uid);
        // The copies just taken start at the bottom of the ladder; cards stored
        // before keep the stage the learner reached.
        if (i >= before)
            record.stage = 0;
    }
    return backup;
}

void TQVL::OpenUnitLanguages(const std::function<void(const QString&)>& warn)
{
    const TQVL_Unit& unit = Units->GetActiveUnit();
    Languages->Provider().Clear();
    Languages->Provider().Scan(System->AppDataFolder + QStringLiteral("/Languages"));
    const TQVL_Provider_Item_Language* fallback = Languages->FindByLangCode(Options->languages_langcode_home);
    const TQVL_LanguageMatch match = TQVL_LanguageMatch::Of(Languages->Languages());
    // A lesson written by other programs may name its language ("english",
    // "fr_FR"): the nearest profile is that language's.
    QStringList missing;
    QStringList used;
    bool anyNearest = false;
    const auto profileFor = [&](const QString& code) -> const TQVL_Provider_Item_Language* {
        if (const TQVL_Provider_Item_Language* found = Languages->FindByLangCode(code))
            return found;
        const TQVL_Provider_Item_Language* nearest = Languages->FindByLangCode(match.CodeOf(code));
        anyNearest = anyNearest || nearest;
        const TQVL_Provider_Item_Language* taken = nearest ? nearest : fallback;
        if (!missing.contains(code)) {
            missing.append(code);
            if (taken && !used.contains(taken->LanguageName))
                used.append(taken->LanguageName);
        }
        return taken;
    };
    const TQVL_Provider_Item_Language* home = profileFor(unit.LangCodeHome);
    const TQVL_Provider_Item_Language* foreign = profileFor(unit.LangCodeForeign);
    if (home)
        Languages->HomeLanguage->Open(home->Path);
    if (foreign)
        Languages->GetActiveLanguage().Open(foreign->Path);
    // Both languages in one message: a lesson is opened often, and two boxes each time wear the learner out.
    if (!warn || missing.isEmpty())
        return;
    const auto quoted = [](const QStringList& texts) {
        QStringList result;
        for (const QString& text : texts)
            result.append(QLatin1Char('"') + text + QLatin1Char('"'));
        return result.join(QStringLiteral(", "));
    };
    const QString problem =
        missing.size() == 1
            ? QStringLiteral("Für die in der Lektion verwendete Sprache konnte kein Sprachprofil gefunden werden "
                             "(Sprachcode: %1).")
            : QStringLiteral("Für die in der Lektion verwendeten Sprachen konnten keine Sprachprofile gefunden werden "
                             "(Sprachcodes: %1).");
    QString remedy;
    if (!anyNearest || used.isEmpty())
        remedy = QStringLiteral("Es wird das Standardsprachprofil verwendet.");
    else if (used.size() == 1)
        remedy = QStringLiteral("Es wird das Sprachprofil %1 verwendet.").arg(quoted(used));
    else
        remedy = QStringLiteral("Es werden die Sprachprofile %1 verwendet.").arg(quoted(used));
    warn(problem.arg(quoted(missing)) + QLatin1Char(' ') + remedy);
}

void TQVL::OpenUnitArrangement()
{
    const TQVL_Unit& unit = Units->GetActiveUnit();
    CardArrangements->Provider().Clear();
    CardArrangements->Provider().Scan(System->AppDataFolder + QStringLiteral("/Data/GrammarTemplates"));
    const TQVL_Provider_Item_CardArrangement* found = CardArrangements->Arrangements().FindByUid(unit.ArrangementId);
    if (!found)
        throw TQVL_Error(QStringLiteral("Die in der Lektion verwendete Vorlagendatei konnte nicht gefunden werden! "
                                        "(ID: \"%1\")")
                             .arg(unit.ArrangementId));
    CardArrangements->GetActiveArrangement().Open(found->Path);
}

void TQVL::CloseUnitCompanions()
{
    TQVL_CardArrangement& arrangement = CardArrangements->GetActiveArrangement();
    if (arrangement.IsOpen)
        arrangement.CloseFile();
    if (Languages->HomeLanguage->IsOpen)
        Languages->HomeLanguage->CloseFile();
    if (Languages->GetActiveLanguage().IsOpen)
        Languages->GetActiveLanguage().CloseFile();
}

TQVL_LoginView TQVL::UserLoggedIn()
{
    TQVL_User& user = Users->GetActiveUser();
    System->Speech->StartSession();
    TQVL_LoginView view;
    view.ReadOnly = user.IsReadOnlySession();
    LongTermStorages->Provider().Clear();
    LongTermStorages->Provider().Scan(StoragesFolder());
    int due = 0;
    if (user.Results().CountDueInStorages(due))
        view.DueCards = due;
    if (user.Rights().PROGRAM_UPDATES && Options->updates_autosearch) {
        StartUpdateSearch();
        view.UpdateSearchStarted = true;
    }
    view.UnitOpen = Units->GetActiveUnit().IsOpen;
    return view;
}

void TQVL::OpenActiveUnit(const QString& fileName)
{
    TQVL_Unit& unit = Units->GetActiveUnit();
    if (unit.IsOpen)
        unit.CloseFile();
    unit.Open(fileName);
}

TQVL_UnitView TQVL::ActiveUnitOpened(const std::function<void(const QString&)>& warn)
{
    TQVL_Unit& unit = Units->GetActiveUnit();
    try {
        OpenUnitLanguages(warn);
        if (unit.Typ == tGrammar)
            OpenUnitArrangement();
    } catch (...) {
        // A unit without its languages or arrangement cannot be shown or learnt.
        CloseUnitCompanions();
        if (unit.IsOpen)
            unit.CloseFile();
        throw;
    }
    // The listing served the choice; it goes with it.
    Units->Provider().Clear();
    const QFileInfo file(unit.FileName);
    TQVL_UnitView view;
    view.LongTermStorage = unit.Typ == tLongTermStorage;
    view.Caption = view.LongTermStorage ? file.completeBaseName() : file.fileName();
    return view;
}

TQVL_StorageHandle TQVL::OpenStorageOfActiveUnit()
{
    const TQVL_Unit& unit = Units->GetActiveUnit();
    if (!unit.IsOpen)
        throw TQVL_Error(QStringLiteral("no active Unit"));
    // A storage would be merged into itself (the storage of its own languages).
    if (unit.Typ == tLongTermStorage)
        throw TQVL_Error(QStringLiteral("Ein Langzeitspeicher kann nicht in einen Langzeitspeicher integriert "
                                        "werden. Bitte wählen Sie zuerst die Lektion aus, deren Vokabeln Sie "
                                        "übernehmen möchten."));
    return TQVL_StorageHandle(*LongTermStorages,
                              LongTermStorages->OpenOrCreateStorage(StoragesFolder(), *Languages->Names,
                                                                    unit.LangCodeHome, unit.LangCodeForeign));
}
