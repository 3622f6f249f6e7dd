#pragma once

#include "content/QVL_Provider_Item_Custom.h"

#include <QString>

#include <memory>
#include <set>
#include <vector>

// Lists the files of one kind below a folder as a tree of entries, in the
// order the file system returns them, reading only a few header bytes of
// each file.
class TQVL_Provider_Custom
{
public:
    TQVL_Provider_Custom();
    virtual ~TQVL_Provider_Custom();
    TQVL_Provider_Custom(const TQVL_Provider_Custom&) = delete;
    TQVL_Provider_Custom& operator=(const TQVL_Provider_Custom&) = delete;

    // An entry of the provider's own entry class.
    virtual std::unique_ptr<TQVL_Provider_Item_Custom> CreateItem() = 0;

    // Makes the root describe `folder` and adds its tree to the existing one.
    void Scan(const QString& folder);
    // Releases every entry and starts with a new empty root.
    void Clear();
    // Clear and Scan, unless the entries are of one Scan of `folder` and no
    // folder it listed changed since: adding, removing or replacing a file
    // (a safe save renames) changes its folder's times. Returns whether it scanned.
    bool Rescan(const QString& folder);
    // Whether the extension of `fileName` (compared in lower case) is one of `Extensions`.
    bool Matches(const QString& fileName) const;
    // The entry listed now with exactly this path, the root included; nullptr
    // when none is. Screens keep paths and look entries up when they use them:
    // a rescan frees every entry, and a new one may take a freed address.
    TQVL_Provider_Item_Custom* FindByPath(const QString& path) const;

    std::unique_ptr<TQVL_Provider_Item_Custom> Root;
    bool ReadHeaders = false;
    // ".qxu" or a list in which each extension ends with ";" (".qxu;.qxuz;").
    QString Extensions;
    // Every entry of the scans, folders and files, in creation order; not owning.
    std::vector<TQVL_Provider_Item_Custom*> Items;

private:
    // The times of a listed folder, or empty when they are too recent to tell
    // a later change in the same clock tick apart.
    static QByteArray folderStamp(const QByteArray& path);

    void scanFolder(TQVL_Provider_Item_Custom& folder, std::set<std::pair<quint64, quint64>>& visited);

    // The folder of the one Scan since Clear, and every folder it listed with
    // its times; empty when the entries cannot be checked that way.
    QString scannedFolder;
    std::vector<std::pair<QByteArray, QByteArray>> listedFolders;
};
