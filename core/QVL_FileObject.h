#pragma once

#include "core/QVL_SafeFile.h"

#include <QString>

#include <bitset>
#include <functional>

class TQVL_XMLElement;
class TQVL_XMLTag;
class TQVL_XMLWriter;

// Base of every object that is one file on disk. A file is opened (read
// completely into the object), stays open with a handle while the object works
// with it, is written back on demand and closed. Saving replaces the file
// atomically, so a crash or a full disk never leaves a damaged file behind.
// Guarded kinds keep a ".crc" companion with a checksum of the file.
class TQVL_FileObject
{
public:
    TQVL_FileObject();
    virtual ~TQVL_FileObject();
    TQVL_FileObject(const TQVL_FileObject&) = delete;
    TQVL_FileObject& operator=(const TQVL_FileObject&) = delete;

    virtual void LoadFromXML(TQVL_XMLTag& tag) = 0;
    virtual void SaveToXML(TQVL_XMLTag& tag) = 0;
    // Reads the content of a file being opened. By default through a tag tree
    // for LoadFromXML; kinds with large files read straight from the parsed
    // document instead.
    virtual void ReadXML(const TQVL_XMLElement& root);
    // Writes the content for a save. By default through a tag tree from
    // SaveToXML; kinds with large files write their elements straight into
    // the file's bytes instead.
    virtual void WriteXML(TQVL_XMLWriter& writer);

    void Open(const QString& fileName);
    void NewFile(const QString& fileName);
    void Save();
    void SaveAs(const QString& fileName);
    // Virtual: a logged-in user profile keeps its lock for the whole session.
    // When another program changed the file since this object last read or
    // wrote it, the file is read again under the new lock before access is
    // granted (OnReload follows), so a stale copy is never saved over it. A
    // changed file that cannot be read again raises and stays read-only.
    virtual bool RequestWriteAccess();
    virtual bool ReleaseWriteAccess();
    void CloseFile();
    // Whether the file on disk is no longer the one this object last read or
    // wrote. Saves replace the file, so its identity, size and modification
    // time are compared with what this object itself saw last.
    bool ChangedOnDisk() const;

    // Raises the error of a companion that cannot be read or does not match `content`.
    void CheckIntegrity(const QByteArray& content) const;
    // Reads the file from disk and checks it, as an open does.
    void CheckIntegrity() const;
    // Rewrites the companion of the open file from its content on disk.
    void WriteChecksumFile();

    // The companion path: the file's extension replaced by ".crc".
    static QString ChecksumFileName(const QString& fileName);
    // MD5 over `content`, as lower-case hex, then MD5 over those 32 characters.
    static QByteArray Checksum(const QByteArray& content);

    QString Uid;
    QString FileName;
    std::bitset<256> SupportedVersions;
    int CurrentVersion = 1;
    bool IntegrityGuard = false;
    bool WriteAccess = false;
    bool IsOpen = false;

    std::function<void()> OnClose;
    std::function<void()> OnOpen;
    std::function<void()> OnAccessChange;
    // The content was read again because another program had changed the file.
    std::function<void()> OnReload;

protected:
    static void Notify(const std::function<void()>& notification)
    {
        if (notification)
            notification();
    }

private:
    // What tells one state of a file on disk from another.
    struct DiskStamp
    {
        quint64 Device = 0;
        quint64 Inode = 0;
        qint64 Size = -1;
        qint64 ModifiedNs = 0;
        bool operator==(const DiskStamp&) const = default;
    };
    static DiskStamp stampOf(int descriptor);

    // Parses `content` and hands it to ReadXML; errors name the file. Returns
    // whether the bytes had to be read as Windows-1252.
    bool readDocument(QByteArray content);
    // Reads the file again through the locked handle.
    void rereadLocked();
    void openReadHandle();
    // Write mode when granted, read mode otherwise; returns whether writing is allowed.
    bool reopenForWriting();
    void resetToClosed();

    TQVL_FileHandle handle;
    // Size of the file when last read or written: the next save expects about as many bytes.
    qsizetype lastFileSize = 0;
    // The file as this object last read or wrote it.
    DiskStamp lastStamp;
};
