#include "core/QVL_XML.h"

#include "core/QVL_Encoding.h"
#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XMLStream.h"

#include <QFile>
#include <QFileDevice>
#include <QHash>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Deeper trees than any file of ours are refused, whether a reader copies the
// tree or reads only part of it, so every reader sees the same files as valid.
constexpr int maxDepth = 256;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Walks the whole tree without recursion and raises when an element lies
// deeper than maxDepth below the root element.
void checkDepth(const pugi::xml_node& root)
{
    int depth = 0;
    pugi::xml_node node = root;
    for (;;) {
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            if (++depth > maxDepth && node.type() == pugi::node_element)
                throw TQVL_Error(QStringLiteral("Die XML-Struktur ist zu tief verschachtelt."));
            continue;
        }
        while (node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node == root)
            return;
        node = node.next_sibling();
    }
}

const char* germanDescription(int status)
{
    switch (status) {
    case pugi::status_file_not_found: return "Datei nicht gefunden";
    case pugi::status_io_error: return "Lesefehler";
    case pugi::status_out_of_memory: return "Nicht genügend Arbeitsspeicher";
    case pugi::status_unrecognized_tag: return "Unbekanntes Tag";
    case pugi::status_bad_pi: return "Fehlerhafte XML-Deklaration oder Verarbeitungsanweisung";
    case pugi::status_bad_comment: return "Fehlerhafter Kommentar";
    case pugi::status_bad_cdata: return "Fehlerhafter CDATA-Abschnitt";
    case pugi::status_bad_doctype: return "Fehlerhafte Dokumenttyp-Deklaration";
    case pugi::status_bad_pcdata: return "Fehlerhafter Text";
    case pugi::status_bad_start_element: return "Fehlerhaftes Start-Tag";
    case pugi::status_bad_attribute: return "Fehlerhaftes Attribut";
    case pugi::status_bad_end_element: return "Fehlerhaftes End-Tag";
    case pugi::status_end_element_mismatch: return "Start- und End-Tag passen nicht zusammen";
    case pugi::status_no_document_element: return "Das Dokument enthält kein Element";
    default: return "Interner Fehler beim Lesen";
    }
}

// The encoding named in the XML declaration at the start of `bytes`, lower case; empty when none.
QByteArray declaredEncoding(const QByteArray& bytes)
{
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (bytes.mid(start, 5) != "<?xml")
        return {};
    const qsizetype end = bytes.indexOf("?>", start);
    if (end < 0 || end - start > 512)
        return {};
    const QByteArray declaration = bytes.mid(start, end - start);
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    qsizetype i = at + 8;
    while (i < declaration.size() && (isSpace(declaration[i]) || declaration[i] == '='))
        ++i;
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\''))
        return {};
    const char quote = declaration[i];
    const qsizetype close = declaration.indexOf(quote, i + 1);
    if (close < 0)
        return {};
    return declaration.mid(i + 1, close - i - 1).toLower();
}

} // namespace

TQVL_CustomXML::TQVL_CustomXML(bool utf8) : Root(std::make_unique<TQVL_XMLTag>()), Utf8(utf8) {}

TQVL_CustomXML::~TQVL_CustomXML() = default;

TQVL_NativeXML::TQVL_NativeXML(bool utf8) : TQVL_CustomXML(utf8) {}

TQVL_NativeXML::~TQVL_NativeXML() = default;

void TQVL_NativeXML::LoadFromFile(const QString& fileName)
{
    QByteArray bytes = TQVL_FileHandle::ReadWholeFile(fileName);
    try {
        LoadFromBytes(std::move(bytes));
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(QStringLiteral("Fehler beim Lesen der Datei \"%1\"!").arg(fileName),
                                    error.Message());
    }
}

void TQVL_NativeXML::SaveToFile(const QString& fileName)
{
    TQVL_SafeFile::Write(fileName, SaveToBytes());
}

void TQVL_NativeXML::LoadFromStream(QIODevice& stream)
{
    LoadFromBytes(stream.readAll());
}

void TQVL_NativeXML::SaveToStream(QIODevice& stream)
{
    const QByteArray bytes = SaveToBytes();
    if (auto* file = qobject_cast<QFileDevice*>(&stream))
        file->resize(0);
    stream.seek(0);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = stream.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            throw TQVL_Error(QStringLiteral("Fehler beim Schreiben: %1").arg(stream.errorString()));
        done += qsizetype(written);
    }
}

void TQVL_NativeXML::LoadFromBytes(QByteArray bytes)
{
    Parse(std::move(bytes));
    auto root = std::make_unique<TQVL_XMLTag>();
    Element().CopyInto(*root);
    root->Value.clear();
    Root = std::move(root);
    // The tree has been copied; the parsed form is not needed any more.
    parsed.reset();
    parsedBytes = QByteArray();
}

void TQVL_NativeXML::Parse(QByteArray bytes)
{
    auto document = std::make_unique<pugi::xml_document>();
    const unsigned flags = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_ws_pcdata_single;
    const pugi::xml_encoding encoding = Utf8 ? pugi::encoding_auto : pugi::encoding_latin1;
    ReadAsWindows1252 = Utf8 && RepairEncoding(bytes);
    bytes.detach();
    const pugi::xml_parse_result result =
        document->load_buffer_inplace(bytes.data(), std::size_t(bytes.size()), flags, encoding);
    if (!result)
        throw TQVL_Error(ParseErrorText(result.status, bytes.constData(), bytes.size(), qsizetype(result.offset)));
    const pugi::xml_node rootElement = document->document_element();
    const pugi::xml_node versionElement = rootElement.child("version");
    if (!versionElement)
        throw TQVL_Error(QStringLiteral("Keine Versionsangabe gefunden!"));
    checkDepth(rootElement);
    const char* versionText = versionElement.child_value();
    Version = TQVL_XMLTag::Utf8ToInteger(versionText, qsizetype(std::strlen(versionText)));
    parsed = std::move(document);
    parsedBytes = std::move(bytes);
}

TQVL_XMLElement TQVL_NativeXML::Element() const
{
    if (!parsed)
        return {};
    return TQVL_XMLElement(parsed->document_element().internal_object());
}

QByteArray TQVL_NativeXML::SaveToBytes() const
{
    TQVL_XMLStream stream(Version);
    for (int i = 0; i < Root->ChildCount(); ++i) {
        const TQVL_XMLTag& child = *Root->Child(i);
        // A loaded tree carries its own "version"; the document's number is the one written.
        if (child.Name == QLatin1String("version") && child.ChildCount() == 0)
            continue;
        stream.Tree(child);
    }
    return stream.Finish();
}

bool TQVL_NativeXML::RepairEncoding(QByteArray& bytes)
{
    // A byte order mark or zero bytes at the start mean UTF-16 or UTF-32, which the parser converts itself.
    const auto at = [&](qsizetype i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 1u; };
    if (at(0) == 0 || at(1) == 0 || (at(0) == 0xFE && at(1) == 0xFF) || (at(0) == 0xFF && at(1) == 0xFE))
        return false;
    if (TQVL_Encoding::IsValidUtf8(bytes.constData(), bytes.size()))
        return false;
    const QByteArray declared = declaredEncoding(bytes);
    if (!declared.isEmpty() && declared != "utf-8" && declared != "utf8")
        return false;
    bytes = TQVL_Encoding::RepairUtf8(bytes.constData(), bytes.size());
    return true;
}

QString TQVL_NativeXML::ParseErrorText(int status, const char* text, qsizetype size, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, size);
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i)
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    return QStringLiteral("Fehlerhaftes XML in Zeile %1, Spalte %2: %3")
        .arg(line)
        .arg(offset - lineStart + 1)
        .arg(QString::fromUtf8(germanDescription(status)));
}

void TQVL_XML::ReadHeaderValues(const QString& fileName, const QStringList* names, int maxBytes,
                                QStringList* values)
{
    if (!names || !values || maxBytes <= 0)
        return;
    const QByteArray head = TQVL_FileHandle::ReadHead(fileName, maxBytes);
    ReadHeaderValuesFromBytes(head.constData(), head.size(), *names, *values);
}

void TQVL_XML::ReadHeaderValuesFromBytes(const char* data, qsizetype size, const QStringList& names,
                                         QStringList& values)
{
    if (size <= 0)
        return;
    const std::string_view text(data, std::size_t(size));
    for (const QString& name : names) {
        const QByteArray utf8 = name.toUtf8();
        const std::string_view n(utf8.constData(), std::size_t(utf8.size()));
        std::string tag;
        tag.reserve(n.size() + 3);
        tag.append("<").append(n).append("/>");
        if (text.find(tag) != std::string_view::npos) {
            values.append(QString());
            continue;
        }
        tag.assign("<").append(n).append(">");
        const std::size_t open = text.find(tag);
        tag.assign("</").append(n).append(">");
        const std::size_t close = text.find(tag);
        if (open == std::string_view::npos || close == std::string_view::npos) {
            values.append(QString());
            continue;
        }
        const std::size_t start = open + n.size() + 2;
        if (close < start)
            values.append(QString());
        else
            values.append(TQVL_Encoding::DecodeUtf8(data + start, qsizetype(close - start)));
    }
}
