#pragma once

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLTag.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

class QIODevice;

namespace pugi {
class xml_document;
}

// A document of the one shape every data file has: root element "root", its
// first child "version", then the content tree `Root`.
class TQVL_CustomXML
{
public:
    explicit TQVL_CustomXML(bool utf8 = true);
    virtual ~TQVL_CustomXML();

    virtual void LoadFromFile(const QString& fileName) = 0;
    virtual void SaveToFile(const QString& fileName) = 0;
    virtual void LoadFromStream(QIODevice& stream) = 0;
    virtual void SaveToStream(QIODevice& stream) = 0;

    int Version = 0;
    // The content tree below the root element; "version" is part of it after a load.
    std::unique_ptr<TQVL_XMLTag> Root;
    // Reading decodes UTF-8 when set, Latin-1 otherwise; writing is always UTF-8.
    bool Utf8;
    // Set by a load that found bytes which are not UTF-8 and read them as Windows-1252.
    bool ReadAsWindows1252 = false;
};

// Reads through pugixml, writes with our own serializer (the exact byte layout:
// CRLF, two-space indent, <name/>, the five predefined entities).
class TQVL_NativeXML : public TQVL_CustomXML
{
public:
    explicit TQVL_NativeXML(bool utf8 = true);
    ~TQVL_NativeXML() override;

    // As LoadFromBytes; errors name the file.
    void LoadFromFile(const QString& fileName) override;
    void SaveToFile(const QString& fileName) override;
    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;

    // Parses `bytes` (consumed: the parser works in place) and replaces Root and Version.
    // Errors are German; they do not name a file (the caller knows it).
    void LoadFromBytes(QByteArray bytes);
    // Parses `bytes` as LoadFromBytes does, with the same errors, and sets
    // Version, but keeps the parser's tree instead of copying it into Root:
    // large files are read from Element() straight into their objects.
    void Parse(QByteArray bytes);
    // The root element of what Parse read; none before. Valid until the next
    // Parse or the end of the document.
    TQVL_XMLElement Element() const;
    // The whole file as it is written.
    QByteArray SaveToBytes() const;

    // Makes UTF-8 input safe to parse: when `bytes` is meant as UTF-8 (no other
    // declared encoding, no byte order mark of another form) and holds bytes
    // that are not UTF-8, those bytes are replaced by the UTF-8 of their
    // Windows-1252 character. Returns whether anything was replaced.
    static bool RepairEncoding(QByteArray& bytes);
    // "Fehlerhaftes XML in Zeile …, Spalte …: …" for a parser status at byte `offset` of `text`.
    static QString ParseErrorText(int status, const char* text, qsizetype size, qsizetype offset);

private:
    // What Parse read: the parser works in place, so its tree points into the bytes.
    std::unique_ptr<pugi::xml_document> parsed;
    QByteArray parsedBytes;
};

class TQVL_XML final : public TQVL_NativeXML
{
public:
    using TQVL_NativeXML::TQVL_NativeXML;

    // Reads the first `maxBytes` bytes of `fileName` and appends to `values`, for
    // each entry of `names`, the text between the first <name> and </name> as it
    // stands (entities not decoded); empty for <name/> or a missing element. Adds
    // nothing for an empty, missing or unreadable file; does nothing without lists.
    static void ReadHeaderValues(const QString& fileName, const QStringList* names, int maxBytes,
                                 QStringList* values);
    // The same on bytes already read. Bytes that are not UTF-8 read as Windows-1252.
    static void ReadHeaderValuesFromBytes(const char* data, qsizetype size, const QStringList& names,
                                          QStringList& values);
};
