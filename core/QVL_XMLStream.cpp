#include "core/QVL_XMLStream.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

#include <algorithm>
#include <cstring>

namespace {

bool isNameStart(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c == u':' || c >= 0xC0;
}

bool isNameChar(char16_t c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == 0xB7;
}

[[noreturn]] void invalidName(const QString& name)
{
    throw TQVL_Error(QStringLiteral("Ungültiger XML-Elementname \"%1\"").arg(name));
}

// Serialises a tag tree in the one byte layout of our files. It writes into a
// buffer it grows itself, so that the many short texts of a large file cost
// no allocation each.
class Writer
{
public:
    explicit Writer(QByteArray& output) : out(output) {}

    // "<name" with the name checked; returns where the name starts in the buffer.
    qsizetype OpenTag(const QString& tagName, int level)
    {
        indent(level);
        put('<');
        const qsizetype start = out.size();
        name(tagName);
        return start;
    }
    void Raw(const char* bytes, qsizetype length) { append(bytes, length); }
    // "</name>" on a line of its own, the name copied from where OpenTag wrote it.
    void CloseTag(qsizetype nameStart, qsizetype nameLength, int level)
    {
        indent(level);
        closingName(nameStart, nameLength);
    }

    void Element(const TQVL_XMLTag& tag, int level)
    {
        const qsizetype nameStart = OpenTag(tag.Name, level);
        const qsizetype nameLength = out.size() - nameStart;
        if (tag.ChildCount() == 0 && tag.Value.isEmpty()) {
            append("/>\r\n", 4);
            return;
        }
        put('>');
        text(tag.Value);
        if (tag.ChildCount() == 0) {
            closingName(nameStart, nameLength);
            return;
        }
        append("\r\n", 2);
        for (int i = 0; i < tag.ChildCount(); ++i)
            Element(*tag.Child(i), level + 1);
        CloseTag(nameStart, nameLength, level);
    }

private:
    // "</name>" and the line end; the name is copied from where it was written, as out may have moved since.
    void closingName(qsizetype nameStart, qsizetype nameLength)
    {
        append("</", 2);
        char* target = room(nameLength);
        std::memcpy(target, out.constData() + nameStart, std::size_t(nameLength));
        used(target + nameLength);
        append(">\r\n", 3);
    }

    // Space for `extra` more bytes past the end; returns where they start.
    char* room(qsizetype extra)
    {
        const qsizetype size = out.size();
        if (size + extra > out.capacity())
            out.reserve(std::max(size + extra, out.capacity() * 2));
        out.resize(size + extra);
        return out.data() + size;
    }
    // Ends the buffer at `end`, a pointer into the space given by room().
    void used(char* end) { out.resize(end - out.data()); }

    void put(char c) { *room(1) = c; }
    void append(const char* bytes, qsizetype length) { std::memcpy(room(length), bytes, std::size_t(length)); }
    void indent(int level)
    {
        char* p = room(qsizetype(level) * 2);
        std::memset(p, ' ', std::size_t(level) * 2);
    }

    void name(const QString& value)
    {
        const char16_t* p = reinterpret_cast<const char16_t*>(value.utf16());
        const qsizetype length = value.size();
        if (length == 0 || !isNameStart(p[0]))
            invalidName(value);
        bool ascii = true;
        for (qsizetype i = 0; i < length; ++i) {
            if (i > 0 && !isNameChar(p[i]))
                invalidName(value);
            ascii = ascii && p[i] < 0x80;
        }
        if (!ascii) {
            const QByteArray utf8 = value.toUtf8();
            append(utf8.constData(), utf8.size());
            return;
        }
        char* target = room(length);
        for (qsizetype i = 0; i < length; ++i)
            target[i] = char(p[i]);
    }

    // UTF-16 to UTF-8 with the five predefined entities, in one pass.
    void text(const QString& value)
    {
        const char16_t* p = reinterpret_cast<const char16_t*>(value.utf16());
        const char16_t* end = p + value.size();
        // The longest encoding of one UTF-16 unit is an entity or reference of six bytes.
        char* o = room(value.size() * 6);
        for (; p < end; ++p) {
            char32_t c = *p;
            if (c < 0x80) {
                switch (c) {
                case u'&': std::memcpy(o, "&amp;", 5); o += 5; continue;
                case u'<': std::memcpy(o, "&lt;", 4); o += 4; continue;
                case u'>': std::memcpy(o, "&gt;", 4); o += 4; continue;
                case u'\'': std::memcpy(o, "&apos;", 6); o += 6; continue;
                case u'"': std::memcpy(o, "&quot;", 6); o += 6; continue;
                default: break;
                }
                if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') {
                    // Not allowed as raw text in XML 1.0; a reference keeps the value readable again.
                    *o++ = '&';
                    *o++ = '#';
                    if (c >= 10)
                        *o++ = char('0' + c / 10);
                    *o++ = char('0' + c % 10);
                    *o++ = ';';
                } else {
                    *o++ = char(c);
                }
                continue;
            }
            if (c >= 0xD800 && c < 0xDC00 && p + 1 < end && p[1] >= 0xDC00 && p[1] < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
                ++p;
            } else if (c >= 0xD800 && c < 0xE000) {
                c = 0xFFFD; // a lone surrogate cannot be encoded
            }
            if (c < 0x800) {
                *o++ = char(0xC0 | (c >> 6));
                *o++ = char(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                *o++ = char(0xE0 | (c >> 12));
                *o++ = char(0x80 | ((c >> 6) & 0x3F));
                *o++ = char(0x80 | (c & 0x3F));
            } else {
                *o++ = char(0xF0 | (c >> 18));
                *o++ = char(0x80 | ((c >> 12) & 0x3F));
                *o++ = char(0x80 | ((c >> 6) & 0x3F));
                *o++ = char(0x80 | (c & 0x3F));
            }
        }
        used(o);
    }

    QByteArray& out;
};

} // namespace

TQVL_XMLStream::TQVL_XMLStream(int version)
{
    out.reserve(4096);
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>";
    out += QByteArray::number(version);
    out += "</version>\r\n";
}

void TQVL_XMLStream::openParent()
{
    if (!open.empty() && !open.back().hasChildren) {
        Writer(out).Raw(">\r\n", 3);
        open.back().hasChildren = true;
    }
}

void TQVL_XMLStream::Begin(const QString& name)
{
    openParent();
    const qsizetype start = Writer(out).OpenTag(name, int(open.size()) + 1);
    open.push_back({start, out.size() - start, false});
}

void TQVL_XMLStream::End()
{
    Q_ASSERT(!open.empty());
    const OpenElement element = open.back();
    open.pop_back();
    if (!element.hasChildren)
        Writer(out).Raw("/>\r\n", 4);
    else
        Writer(out).CloseTag(element.nameStart, element.nameLength, int(open.size()) + 1);
}

void TQVL_XMLStream::Tree(const TQVL_XMLTag& tag)
{
    openParent();
    Writer(out).Element(tag, int(open.size()) + 1);
}

QByteArray TQVL_XMLStream::Finish()
{
    while (!open.empty())
        End();
    out += "</root>\r\n";
    return std::move(out);
}
