#include "content/QVL_Provider_Custom.h"

#include <QFile>

#include <algorithm>
#include <ctime>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// The extension with its dot, from the last dot of the name; empty without one.
QString extensionOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    return dot > slash ? fileName.mid(dot) : QString();
}

} // namespace

TQVL_Provider_Custom::TQVL_Provider_Custom() : Root(std::make_unique<TQVL_Provider_Item_Custom>()) {}

TQVL_Provider_Custom::~TQVL_Provider_Custom() = default;

void TQVL_Provider_Custom::Clear()
{
    Items.clear();
    Root = std::make_unique<TQVL_Provider_Item_Custom>();
    scannedFolder.clear();
    listedFolders.clear();
}

bool TQVL_Provider_Custom::Rescan(const QString& folder)
{
    const bool unchanged =
        !scannedFolder.isEmpty() && scannedFolder == folder && !listedFolders.empty() &&
        std::all_of(listedFolders.begin(), listedFolders.end(), [](const auto& listed) {
            return !listed.second.isEmpty() && folderStamp(listed.first) == listed.second;
        });
    if (unchanged)
        return false;
    Clear();
    Scan(folder);
    return true;
}

QByteArray TQVL_Provider_Custom::folderStamp(const QByteArray& path)
{
    struct stat info
    {
    };
    if (::stat(path.constData(), &info) != 0)
        return {};
    // A change within the clock tick of the last one leaves the times as they
    // were: only a listing a few seconds old tells that nothing changed.
    if (info.st_mtim.tv_sec >= ::time(nullptr) - 2)
        return {};
    return QByteArray::number(quint64(info.st_ino)) + ' ' + QByteArray::number(qint64(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qint64(info.st_mtim.tv_nsec)) + ' ' + QByteArray::number(qint64(info.st_ctim.tv_sec)) +
           '.' + QByteArray::number(qint64(info.st_ctim.tv_nsec));
}

bool TQVL_Provider_Custom::Matches(const QString& fileName) const
{
    if (Extensions.isEmpty())
        return true;
    const QString extension = extensionOf(fileName).toLower();
    if (extension == Extensions)
        return true;
    return !extension.isEmpty() && Extensions.contains(extension + QLatin1Char(';'));
}

TQVL_Provider_Item_Custom* TQVL_Provider_Custom::FindByPath(const QString& path) const
{
    if (path.isEmpty())
        return nullptr;
    if (Root && Root->Path == path)
        return Root.get();
    const auto found = std::find_if(Items.begin(), Items.end(),
                                    [&path](const TQVL_Provider_Item_Custom* item) { return item->Path == path; });
    return found != Items.end() ? *found : nullptr;
}

void TQVL_Provider_Custom::Scan(const QString& folder)
{
    // A second Scan adds to the first: its entries no longer stand for one folder.
    scannedFolder = Items.empty() && Root->ChildCount() == 0 ? folder : QString();
    if (scannedFolder.isEmpty())
        listedFolders.clear();
    Root->IsFile = false;
    Root->Path = folder;
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'), folder.endsWith(QLatin1Char('/')) ? -2 : -1);
    Root->Name = folder.mid(slash + 1);
    std::set<std::pair<quint64, quint64>> visited;
    scanFolder(*Root, visited);
}

void TQVL_Provider_Custom::scanFolder(TQVL_Provider_Item_Custom& folder,
                                      std::set<std::pair<quint64, quint64>>& visited)
{
    // Plain directory reads in the order the file system returns them.
    const QByteArray path = QFile::encodeName(folder.Path);
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return;
    // A folder linked into its own tree is listed once, not followed forever.
    struct stat self
    {
    };
    if (::fstat(::dirfd(dir), &self) == 0 && !visited.emplace(quint64(self.st_dev), quint64(self.st_ino)).second) {
        ::closedir(dir);
        return;
    }
    // Taken before the entries: a change while reading makes the next Rescan scan again.
    if (!scannedFolder.isEmpty())
        listedFolders.emplace_back(path, folderStamp(path));
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info
            {
            };
            const QByteArray full = path + '/' + name;
            if (::stat(full.constData(), &info) != 0)
                continue;
            isFolder = S_ISDIR(info.st_mode);
        }
        const QString fileName = QFile::decodeName(name);
        if (!isFolder && !Matches(fileName))
            continue;
        std::unique_ptr<TQVL_Provider_Item_Custom> item = CreateItem();
        item->IsFile = !isFolder;
        item->Name = fileName;
        item->Path = folder.Path + QLatin1Char('/') + fileName;
        TQVL_Provider_Item_Custom* added = folder.AddChild(std::move(item));
        Items.push_back(added);
        if (isFolder)
            scanFolder(*added, visited);
        else if (ReadHeaders)
            added->Load();
    }
    ::closedir(dir);
}
