#pragma once

#include "update/QVL_Downloads.h"
#include "update/QVL_UpdateItem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Finds and applies program updates. The search asks the version service
// named in "Data/Update.xml" which updates exist for this version and keeps
// them as items; InstallUpdates fetches their signed packages into the update
// folder ("1.tar.xz" with "1.tar.xz.sig", "2.tar.xz", …); the apply step
// (`quorvel update`) copies each package into a private folder, verifies its
// signature there and carries out the instructions it holds. Nothing loose in
// the update folder is ever trusted: anyone's program can write there. One
// object serves one search or one apply run; it deletes the temporary files it
// downloaded when it is released.
class TQVL_Update
{
public:
    // Reads "Update.xml" below `dataFolder`; raises when it cannot.
    TQVL_Update(QString programVersion, QString dataFolder);
    ~TQVL_Update();
    TQVL_Update(const TQVL_Update&) = delete;
    TQVL_Update& operator=(const TQVL_Update&) = delete;

    // Asks the service; fills `list` (when given) with the readable list.
    // True when at least one update was found.
    bool SearchUpdates(QStringList* list);
    bool Search() { return SearchUpdates(nullptr); }
    int ItemCount() const { return int(Items.size()); }
    const TQVL_UpdateItem& GetItem(int index) const { return *Items.at(std::size_t(index)); }

    // The items of an update list (the service's answer); raises "Falsche
    // Version!", "invalid Update-XML-Tag" or the reader's error.
    static std::vector<std::unique_ptr<TQVL_UpdateItem>> ReadUpdateList(QByteArray bytes);

    // Downloads the packages of the items `indexes` (in that order), refuses
    // any whose signature does not verify or that cannot be unpacked, keeps
    // them with their signatures in a fresh update folder, and sets
    // updatenextstart. Nothing changes when one of them fails.
    void InstallUpdates(const std::vector<int>& indexes);
    // Ends a running search or installation from another thread: its
    // download stops at once and the call raises "… abgebrochen".
    void Cancel() { cancelled = true; }
    // The name of the package applied `number`-th (from 1) in the update folder; its signature adds ".sig".
    static QString PackageName(int number);

    // Applies the prepared update when updatenextstart is set; otherwise nothing.
    void ApplyAtStart();
    // Carries out the instruction script; see the .cpp for the rules.
    void ApplyUpdate();
    void SetUpdateNextStart(bool value);

    QString UpdateFolder() const { return DataFolder + QStringLiteral("/Updates"); }
    QString SettingsFile() const { return DataFolder + QStringLiteral("/Data/Update.xml"); }
    // `dst` with the first %APPDATA%, %USERDATA% and %PROGRAMDATA% replaced.
    QString ExpandPlaceholders(QString path) const;

    QString ProgramVersion;
    QString VersionInfoLink;
    QStringList DownloadedFiles;
    std::vector<std::unique_ptr<TQVL_UpdateItem>> Items;
    std::function<void(int position, int maximum)> OnProgress;
    std::function<void(const QString& text)> OnError;
    bool UpdateNextStart = false;
    QString DataFolder;
    QString ProgramFolder;
    QString DocumentsFolder;

    // The two information messages of the apply step; optional.
    std::function<void(const QString& text)> OnInformation;
    // The key the packages must be signed with; the release key unless a test sets its own.
    QByteArray PublicKey;
    // Seconds of silence after which the server is given up, in milliseconds.
    int TimeoutMs = 20000;
    // The whole update list, and each package, must have arrived within these times.
    int ListDeadlineMs = TQVL_Downloads::ListDeadlineMs;
    int PackageDeadlineMs = TQVL_Downloads::PackageDeadlineMs;
    // Called in the apply step once every package is copied, verified and
    // unpacked and every step is checked, before the first change; tests
    // change the folders here to show what a change after the check can do.
    std::function<void()> OnChecked;

private:
    void readSettings();
    void applyUpdate();
    QString download(const QString& address, qint64 maxBytes, int deadlineMs);
    void throwIfCancelled() const;

    // The folders the instructions may change, canonical.
    QStringList confinedRoots() const;

    std::atomic<bool> cancelled{false};
};
