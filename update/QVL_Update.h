#pragma once

#include "update/QVL_UpdateItem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Finds and applies program updates. The search asks the version service
// named in "Data/Update.xml" which updates exist for this version and keeps
// them as items; InstallUpdates fetches their signed packages into the update
// folder; the apply step (`quorvel update`) carries out the instructions
// found there. One object serves one search or one apply run; it deletes the
// temporary files it downloaded when it is released.
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
    // any whose signature does not verify, unpacks them into a fresh update
    // folder with one instruction script for all, and sets updatenextstart.
    // Nothing changes when one of them fails.
    void InstallUpdates(const std::vector<int>& indexes);

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

private:
    void readSettings();
    void applyUpdate();
    QString download(const QString& address);

    // The folders the instructions may change, canonical.
    QStringList confinedRoots() const;
};
