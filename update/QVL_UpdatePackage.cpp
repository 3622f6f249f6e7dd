#include "update/QVL_UpdatePackage.h"

#include "core/QVL_ArchiveLibrary.h"
#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sodium.h>

#include <memory>

namespace {

const TQVL_ArchiveLibrary& archiveLibrary()
{
    const TQVL_ArchiveLibrary* library = TQVL_ArchiveLibrary::Get();
    if (!library)
        throw TQVL_Error(QStringLiteral("Update-Pakete können nicht entpackt werden: Die Bibliothek libarchive fehlt."));
    return *library;
}

// Public half of the release key; its private half never leaves the release machine.
constexpr unsigned char releaseKey[crypto_sign_PUBLICKEYBYTES] = {
    0x7f, 0x90, 0x96, 0x98, 0x4f, 0x48, 0xc7, 0xc8, 0x8f, 0x92, 0xd4, 0xb0, 0x0d, 0xed, 0xab, 0x22,
    0xc9, 0x4f, 0xc9, 0x6f, 0x3c, 0x3c, 0x99, 0x75, 0xcb, 0xfb, 0xff, 0xa6, 0x07, 0x52, 0xfe, 0xe4};

// Unpacked bytes of one package at most: an archive that inflates beyond this is refused.
constexpr qint64 maxUnpackedBytes = qint64(2) * 1024 * 1024 * 1024;

TQVL_Error refused(const QString& entry)
{
    return TQVL_Error(
        QStringLiteral("Das Update-Paket enthält den unzulässigen Eintrag \"%1\" und wird nicht installiert!")
            .arg(entry));
}

TQVL_Error unreadable(const QString& packageFile, archive* reader)
{
    const char* text = archiveLibrary().archive_error_string(reader);
    return TQVL_Error::WithCause(QStringLiteral("Das Update-Paket \"%1\" ist beschädigt!").arg(packageFile),
                                 text ? QString::fromLocal8Bit(text) : QString());
}

struct ArchiveCloser
{
    void operator()(archive* reader) const { archiveLibrary().archive_read_free(reader); }
};

} // namespace

namespace TQVL_UpdatePackage {

QByteArray ReleaseKey()
{
    return QByteArray(reinterpret_cast<const char*>(releaseKey), sizeof releaseKey);
}

void Verify(const QString& packageFile, const QByteArray& signature, const QByteArray& publicKey,
            const QString& updateName)
{
    static const bool ready = sodium_init() >= 0;
    // Mapped, not read: a package may be hundreds of megabytes.
    QFile file(packageFile);
    if (!file.open(QIODevice::ReadOnly))
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden!").arg(packageFile));
    const qint64 size = file.size();
    const uchar* content = size > 0 ? file.map(0, size) : reinterpret_cast<const uchar*>("");
    if (!content)
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden!").arg(packageFile));
    const bool valid =
        ready && signature.size() == crypto_sign_BYTES && publicKey.size() == crypto_sign_PUBLICKEYBYTES &&
        crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()), content,
                                    quint64(size), reinterpret_cast<const unsigned char*>(publicKey.constData())) == 0;
    if (!valid)
        throw TQVL_Error(QStringLiteral("Die Signatur des Update-Pakets \"%1\" ist ungültig. Das Paket stammt nicht "
                                        "vom Hersteller oder wurde verändert und wird nicht installiert!")
                             .arg(updateName));
}

bool IsSafeEntryName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return false;
    for (const QString& part : name.split(QLatin1Char('/')))
        if (part == QLatin1String(".."))
            return false;
    return true;
}

void Unpack(const QString& packageFile, const QString& folder)
{
    std::unique_ptr<archive, ArchiveCloser> reader(archiveLibrary().archive_read_new());
    archiveLibrary().archive_read_support_filter_xz(reader.get());
    archiveLibrary().archive_read_support_format_tar(reader.get());
    if (archiveLibrary().archive_read_open_filename(reader.get(), QFile::encodeName(packageFile).constData(), 64 * 1024) != ARCHIVE_OK)
        throw unreadable(packageFile, reader.get());
    if (!QDir().mkpath(folder))
        throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden!").arg(folder));
    const QString root = QDir(folder).canonicalPath();
    qint64 unpacked = 0;

    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archiveLibrary().archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            throw unreadable(packageFile, reader.get());
        const char* utf8 = archiveLibrary().archive_entry_pathname_utf8(entry);
        const char* raw = archiveLibrary().archive_entry_pathname(entry);
        const QString name = utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(raw ? raw : "");
        const mode_t type = archiveLibrary().archive_entry_filetype(entry);
        // Links could point anywhere; devices and pipes have no business in an update.
        if (!IsSafeEntryName(name) || archiveLibrary().archive_entry_hardlink(entry) || archiveLibrary().archive_entry_symlink(entry) ||
            (type != AE_IFREG && type != AE_IFDIR))
            throw refused(name);
        const QString target = QDir::cleanPath(root + QLatin1Char('/') + name);
        if (target != root && !target.startsWith(root + QLatin1Char('/')))
            throw refused(name);
        if (type == AE_IFDIR) {
            if (!QDir().mkpath(target))
                throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden!").arg(target));
            continue;
        }
        if (target == root || !QDir().mkpath(QFileInfo(target).path()))
            throw refused(name);
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht angelegt werden!").arg(target));
        char buffer[64 * 1024];
        for (;;) {
            const la_ssize_t got = archiveLibrary().archive_read_data(reader.get(), buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0)
                throw unreadable(packageFile, reader.get());
            unpacked += got;
            if (unpacked > maxUnpackedBytes)
                throw TQVL_Error(QStringLiteral("Das Update-Paket \"%1\" ist zu groß!").arg(packageFile));
            if (out.write(buffer, got) != got)
                throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden!").arg(target));
        }
        out.close();
        // Programs the instructions start keep their execute bit; nothing more (no set-id bits).
        QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadUser | QFileDevice::WriteUser |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (archiveLibrary().archive_entry_perm(entry) & 0100)
            permissions |= QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup |
                           QFileDevice::ExeOther;
        out.setPermissions(permissions);
    }
}

} // namespace TQVL_UpdatePackage
