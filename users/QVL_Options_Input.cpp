#include "users/QVL_Options_Input.h"

#include "core/QVL_Error.h"
#include "users/QVL_Options.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

const QString german = QStringLiteral("Deutsch");
const QString english = QStringLiteral("Englisch");

// Where a typed path lies: below the documents folder (true) or where it
// says (false); nothing when it is in neither place. A relative path is only
// looked for below the documents folder: as typed it would depend on the
// folder the program happens to be started from.
template <typename Exists>
std::optional<bool> locate(const QString& documentsFolder, const QString& typed, Exists exists)
{
    if (exists(QFileInfo(documentsFolder + QLatin1Char('/') + typed)))
        return true;
    if (QDir::isAbsolutePath(typed) && exists(QFileInfo(typed)))
        return false;
    return std::nullopt;
}

std::optional<bool> locateFolder(const QString& documentsFolder, const QString& typed)
{
    return locate(documentsFolder, typed, [](const QFileInfo& info) { return info.isDir(); });
}

std::optional<bool> locateFile(const QString& documentsFolder, const QString& typed)
{
    return locate(documentsFolder, typed, [](const QFileInfo& info) { return info.isFile(); });
}

// The path a refused folder is named by: as typed when absolute, else below the documents folder.
QString shownPath(const QString& documentsFolder, const QString& typed)
{
    return QDir::isAbsolutePath(typed) ? typed : documentsFolder + QLatin1Char('/') + typed;
}

// The fields only take digits; anything else counts as "not a number".
std::optional<int> decimal(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return text.toInt();
}

// Every option the dialog may change, so that a failed save can put them back.
struct Snapshot
{
    bool updates_autosearch, sound_disabled, mainmenu_overview_hidden;
    QString languages_langcode_home, query_delimiter;
    int question, answer;
    QString units_directory, users_directory, users_autoload_profile;
    bool units_directory_relative, users_directory_relative, users_autoload, users_autoload_profile_relative;
    QString sync_mode, sync_folder;

    static Snapshot Of(const TQVL_Options& o)
    {
        return {o.updates_autosearch,
                o.sound_disabled,
                o.mainmenu_overview_hidden,
                o.languages_langcode_home,
                o.query_delimiter,
                o.play_series_showquestionintervall,
                o.play_series_showanswerintervall,
                o.units_directory,
                o.users_directory,
                o.users_autoload_profile,
                o.units_directory_relative,
                o.users_directory_relative,
                o.users_autoload,
                o.users_autoload_profile_relative,
                o.sync_mode,
                o.sync_folder};
    }
    void RestoreTo(TQVL_Options& o) const
    {
        o.updates_autosearch = updates_autosearch;
        o.sound_disabled = sound_disabled;
        o.mainmenu_overview_hidden = mainmenu_overview_hidden;
        o.languages_langcode_home = languages_langcode_home;
        o.query_delimiter = query_delimiter;
        o.play_series_showquestionintervall = question;
        o.play_series_showanswerintervall = answer;
        o.units_directory = units_directory;
        o.users_directory = users_directory;
        o.users_autoload_profile = users_autoload_profile;
        o.units_directory_relative = units_directory_relative;
        o.users_directory_relative = users_directory_relative;
        o.users_autoload = users_autoload;
        o.users_autoload_profile_relative = users_autoload_profile_relative;
        o.sync_mode = sync_mode;
        o.sync_folder = sync_folder;
    }
};

} // namespace

TQVL_Options_Input TQVL_Options_Input::Of(const TQVL_Options& options)
{
    TQVL_Options_Input input;
    input.UpdatesAutosearch = options.updates_autosearch;
    input.SoundDisabled = options.sound_disabled;
    input.OverviewHidden = options.mainmenu_overview_hidden;
    input.HomeLanguage = HomeLanguageEntry(options.languages_langcode_home);
    input.QueryDelimiter = options.query_delimiter;
    input.PlayQuestionIntervall = QString::number(options.play_series_showquestionintervall);
    input.PlayAnswerIntervall = QString::number(options.play_series_showanswerintervall);
    input.UnitsDirectory = options.units_directory;
    input.UsersDirectory = options.users_directory;
    input.Autoload = options.users_autoload;
    input.AutoloadProfile = options.users_autoload_profile;
    input.SyncFolderMode = options.sync_mode == TQVL_Options::SyncFolder;
    input.SyncFolder = options.sync_folder;
    return input;
}

QString TQVL_Options_Input::HomeLanguageEntry(const QString& code)
{
    if (code == QLatin1String("ger"))
        return german;
    if (code == QLatin1String("eng"))
        return english;
    return code;
}

QString TQVL_Options_Input::HomeLanguageCode(const QString& entry)
{
    if (entry == german)
        return QStringLiteral("ger");
    if (entry == english)
        return QStringLiteral("eng");
    return entry;
}

void TQVL_Options_Input::AssignTo(TQVL_Options& options, const QString& documentsFolder) const
{
    // Every check first: a refused field must not leave the others half applied.
    std::optional<bool> profileRelative;
    if (Autoload) {
        profileRelative = locateFile(documentsFolder, AutoloadProfile);
        if (!profileRelative)
            throw TQVL_Error(QStringLiteral("Benutzerprofil \"%1\" nicht gefunden!").arg(AutoloadProfile));
    }
    const std::optional<bool> usersRelative = locateFolder(documentsFolder, UsersDirectory);
    if (!usersRelative)
        throw TQVL_Error(QStringLiteral("Benutzerprofil-Verzeichnis \"%1\" nicht gefunden!")
                             .arg(shownPath(documentsFolder, UsersDirectory)));
    const std::optional<bool> unitsRelative = locateFolder(documentsFolder, UnitsDirectory);
    if (!unitsRelative)
        throw TQVL_Error(QStringLiteral("Lektions-Verzeichnis \"%1\" nicht gefunden!")
                             .arg(shownPath(documentsFolder, UnitsDirectory)));
    int question = DefaultIntervall;
    int answer = DefaultIntervall;
    const std::optional<int> typedQuestion = decimal(PlayQuestionIntervall);
    const std::optional<int> typedAnswer = decimal(PlayAnswerIntervall);
    if (typedQuestion && typedAnswer) {
        question = *typedQuestion;
        answer = *typedAnswer;
    }
    // Play mode counts its display times in 16 bits.
    if (question > MaxIntervall || answer > MaxIntervall)
        throw TQVL_Error(QStringLiteral("Die Anzeigedauer beim Vorspielen darf höchstens %1 ms betragen!")
                             .arg(MaxIntervall));

    // The shared folder is named as it is on this machine: a relative name would depend on where the program starts.
    if (SyncFolderMode) {
        if (SyncFolder.trimmed().isEmpty())
            throw TQVL_Error(QStringLiteral("Bitte wählen Sie den Ordner für die Synchronisation!"));
        if (!QDir::isAbsolutePath(SyncFolder) || !QFileInfo(SyncFolder).isDir())
            throw TQVL_Error(QStringLiteral("Synchronisationsordner \"%1\" nicht gefunden!").arg(SyncFolder));
    }

    options.users_autoload = Autoload;
    options.users_autoload_profile = AutoloadProfile;
    // The program opens the profile at the next start where it was found now.
    if (profileRelative)
        options.users_autoload_profile_relative = *profileRelative;
    options.users_directory_relative = *usersRelative;
    options.users_directory = UsersDirectory;
    options.units_directory_relative = *unitsRelative;
    options.units_directory = UnitsDirectory;
    options.play_series_showquestionintervall = question;
    options.play_series_showanswerintervall = answer;
    options.updates_autosearch = UpdatesAutosearch;
    options.sound_disabled = SoundDisabled;
    options.mainmenu_overview_hidden = OverviewHidden;
    options.query_delimiter = QueryDelimiter;
    if (!HomeLanguage.isEmpty())
        options.languages_langcode_home = HomeLanguageCode(HomeLanguage);
    // Off keeps a mode of a later version that this dialog cannot show.
    if (SyncFolderMode)
        options.sync_mode = TQVL_Options::SyncFolder;
    else if (options.sync_mode == TQVL_Options::SyncFolder)
        options.sync_mode = TQVL_Options::SyncOff;
    options.sync_folder = SyncFolder.isEmpty() ? QString() : QDir::cleanPath(SyncFolder);
}

void TQVL_Options_Input::Apply(TQVL_Options& options, const QString& documentsFolder) const
{
    if (!options.IsOpen || !options.WriteAccess)
        throw TQVL_Error(QStringLiteral("Die Programmeinstellungen sind schreibgeschützt und können nicht "
                                        "geändert werden!"));
    const Snapshot before = Snapshot::Of(options);
    AssignTo(options, documentsFolder);
    try {
        options.Save();
    } catch (...) {
        before.RestoreTo(options);
        throw;
    }
    options.ReleaseWriteAccess();
}
