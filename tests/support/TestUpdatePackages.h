#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>
#include <sodium.h>

#include <vector>

// Builds update packages for the tests: .tar.xz archives with any entry a
// stranger could put in, and an Ed25519 key pair made by the test itself.
namespace TestUpdatePackages {

struct Entry
{
    enum Kind { File, Folder, Symlink, Hardlink };
    Entry(QString name, QByteArray data = {}, Kind type = File, QString linkTarget = {}, int mode = 0644)
        : Name(std::move(name)), Data(std::move(data)), Type(type), LinkTarget(std::move(linkTarget)), Mode(mode)
    {
    }
    QString Name;
    QByteArray Data;
    Kind Type;
    // For links: what they point at.
    QString LinkTarget;
    int Mode;
};

inline QByteArray TarXz(const std::vector<Entry>& entries)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("p.tar.xz")));
    archive* writer = archive_write_new();
    archive_write_add_filter_xz(writer);
    archive_write_set_format_pax_restricted(writer);
    archive_write_open_filename(writer, path.constData());
    for (const Entry& e : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.Name.toUtf8().constData());
        archive_entry_set_perm(entry, e.Type == Entry::Folder ? 0755 : mode_t(e.Mode));
        switch (e.Type) {
        case Entry::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, e.Data.size());
            break;
        case Entry::Folder:
            archive_entry_set_filetype(entry, AE_IFDIR);
            break;
        case Entry::Symlink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, e.LinkTarget.toUtf8().constData());
            break;
        case Entry::Hardlink:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_hardlink(entry, e.LinkTarget.toUtf8().constData());
            break;
        }
        archive_write_header(writer, entry);
        if (e.Type == Entry::File)
            archive_write_data(writer, e.Data.constData(), size_t(e.Data.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    QFile file(QFile::decodeName(path));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

struct KeyPair
{
    KeyPair()
    {
        if (sodium_init() < 0)
            abort();
        crypto_sign_keypair(reinterpret_cast<unsigned char*>(Public.data()),
                            reinterpret_cast<unsigned char*>(secret.data()));
    }
    QByteArray Sign(const QByteArray& message) const
    {
        QByteArray signature(crypto_sign_BYTES, '\0');
        crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                             reinterpret_cast<const unsigned char*>(message.constData()), quint64(message.size()),
                             reinterpret_cast<const unsigned char*>(secret.constData()));
        return signature;
    }
    QByteArray Public = QByteArray(crypto_sign_PUBLICKEYBYTES, '\0');

private:
    QByteArray secret = QByteArray(crypto_sign_SECRETKEYBYTES, '\0');
};

inline QString Md5(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// One command of an instruction script.
struct Command
{
    QString Cmd, Src, Dst, Md5;
};

// An instruction script of version 1 in the file layout.
inline QByteArray Instructions(const std::vector<Command>& commands)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n  <files>\r\n";
    for (const Command& c : commands)
        xml += "    <file>\r\n      <cmd>" + c.Cmd.toUtf8() + "</cmd>\r\n      <src>" + c.Src.toUtf8() +
               "</src>\r\n      <dst>" + c.Dst.toUtf8() + "</dst>\r\n      <md5>" + c.Md5.toUtf8() +
               "</md5>\r\n    </file>\r\n";
    return xml + "  </files>\r\n</root>\r\n";
}

} // namespace TestUpdatePackages
