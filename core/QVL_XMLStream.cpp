#include "core/QVL_XMLStream.h"

#include "core/QVL_DateTime.h"
#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr bool isNameStart(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c == u':' || c >= 0xC0;
}

constexpr bool isNameChar(char16_t c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == 0xB7;
}

[[noreturn]] void invalidName(const QString& name)
{
    throw TQVL_Error(QStringLiteral("Ungültiger XML-Elementname \"%1\"").arg(name));
}

// What an ASCII character may be: 1 a name's first character, 2 one of the
// others, 4 text written as it is (no entity, no reference).
struct AsciiClasses
{
    unsigned char of[128] = {};
    constexpr AsciiClasses()
    {
        for (char16_t c = 0; c < 128; ++c) {
            of[c] = (isNameStart(c) ? 1 : 0) | (isNameChar(c) ? 2 : 0);
            const bool escaped = c == u'&' || c == u'<' || c == u'>' || c == u'\'' || c == u'"' ||
                                 (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r');
            if (!escaped)
                of[c] |= 4;
        }
    }
};
constexpr AsciiClasses ascii;

// Whether `name` is a valid element name of plain ASCII, which is copied as it is.
bool isAsciiName(QLatin1String name)
{
    const qsizetype length = name.size();
    const unsigned char* n = reinterpret_cast<const unsigned char*>(name.data());
    if (length == 0 || n[0] >= 0x80 || !(ascii.of[n[0]] & 1))
        return false;
    for (qsizetype i = 1; i < length; ++i)
        if (n[i] >= 0x80 || !(ascii.of[n[i]] & 2))
            return false;
    return true;
}

char* indent(char* p, int level)
{
    for (int i = 0; i < level * 2; ++i)
        *p++ = ' ';
    return p;
}

} // namespace

TQVL_XMLStream::TQVL_XMLStream(int version, qsizetype sizeHint)
{
    open.reserve(16);
    grow(std::max<qsizetype>(sizeHint + sizeHint / 16, 4096));
    static const char start[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>";
    append(start, qsizetype(sizeof start - 1));
    char* p = room(12);
    commit(std::to_chars(p, p + 12, version).ptr);
    append("</version>\r\n", 12);
}

void TQVL_XMLStream::grow(qsizetype needed)
{
    // The bytes already written move along; the rest of the buffer is left uninitialised.
    out.resize(std::max(needed, capacity * 2));
    buffer = out.data();
    capacity = out.size();
}

void TQVL_XMLStream::openParent()
{
    if (!open.empty() && !open.back().hasChildren) {
        append(">\r\n", 3);
        open.back().hasChildren = true;
    }
}

qsizetype TQVL_XMLStream::openTag(QLatin1String name, int level)
{
    if (!isAsciiName(name))
        return openTag(QString(name), level);
    char* p = indent(room(qsizetype(level) * 2 + 1 + name.size()), level);
    *p++ = '<';
    const qsizetype start = p - buffer;
    std::memcpy(p, name.data(), std::size_t(name.size()));
    commit(p + name.size());
    return start;
}

qsizetype TQVL_XMLStream::openTag(const QString& name, int level)
{
    const char16_t* n = reinterpret_cast<const char16_t*>(name.utf16());
    const qsizetype length = name.size();
    if (length == 0 || !isNameStart(n[0]))
        invalidName(name);
    for (qsizetype i = 1; i < length; ++i)
        if (!isNameChar(n[i]))
            invalidName(name);
    char* p = indent(room(qsizetype(level) * 2 + 1), level);
    *p++ = '<';
    commit(p);
    const qsizetype start = used;
    const QByteArray utf8 = name.toUtf8();
    append(utf8.constData(), utf8.size());
    return start;
}

void TQVL_XMLStream::closeTag(qsizetype nameStart, qsizetype nameLength)
{
    char* p = room(nameLength + 5);
    *p++ = '<';
    *p++ = '/';
    std::memcpy(p, buffer + nameStart, std::size_t(nameLength));
    p += nameLength;
    *p++ = '>';
    *p++ = '\r';
    *p++ = '\n';
    commit(p);
}

void TQVL_XMLStream::Begin(QLatin1String name)
{
    openParent();
    const qsizetype start = openTag(name, int(open.size()) + 1);
    open.push_back({start, used - start, false});
}

void TQVL_XMLStream::Begin(const QString& name)
{
    openParent();
    const qsizetype start = openTag(name, int(open.size()) + 1);
    open.push_back({start, used - start, false});
}

void TQVL_XMLStream::End()
{
    Q_ASSERT(!open.empty());
    const OpenElement element = open.back();
    open.pop_back();
    if (!element.hasChildren) {
        append("/>\r\n", 4);
        return;
    }
    const int level = int(open.size()) + 1;
    commit(indent(room(qsizetype(level) * 2), level));
    closeTag(element.nameStart, element.nameLength);
}

template <typename WriteValue>
void TQVL_XMLStream::leaf(QLatin1String name, WriteValue writeValue)
{
    openParent();
    const qsizetype start = openTag(name, int(open.size()) + 1);
    const qsizetype length = used - start;
    append(">", 1);
    const qsizetype valueStart = used;
    writeValue();
    if (used == valueStart) {
        // No text: the short form.
        used = valueStart - 1;
        append("/>\r\n", 4);
        return;
    }
    closeTag(start, length);
}

void TQVL_XMLStream::Text(QLatin1String name, const QString& value)
{
    leaf(name, [&] { text(value); });
}

void TQVL_XMLStream::Integer(QLatin1String name, qint64 value)
{
    leaf(name, [&] {
        char* p = room(24);
        commit(std::to_chars(p, p + 24, value).ptr);
    });
}

void TQVL_XMLStream::Boolean(QLatin1String name, bool value)
{
    leaf(name, [&] {
        if (value)
            append("true", 4);
        else
            append("false", 5);
    });
}

void TQVL_XMLStream::DateTime(QLatin1String name, const TQVL_DateTime& value)
{
    leaf(name, [&] {
        char* p = room(TQVL_DateTime::StoredTextSize);
        if (const int length = value.ToStoredText(p))
            commit(p + length);
        else
            text(value.ToText());
    });
}

void TQVL_XMLStream::Tree(const TQVL_XMLTag& tag)
{
    openParent();
    element(tag, int(open.size()) + 1);
}

void TQVL_XMLStream::element(const TQVL_XMLTag& tag, int level)
{
    const qsizetype nameStart = openTag(tag.Name, level);
    const qsizetype nameLength = used - nameStart;
    if (tag.ChildCount() == 0 && tag.Value.isEmpty()) {
        append("/>\r\n", 4);
        return;
    }
    append(">", 1);
    text(tag.Value);
    if (tag.ChildCount() == 0) {
        closeTag(nameStart, nameLength);
        return;
    }
    append("\r\n", 2);
    for (int i = 0; i < tag.ChildCount(); ++i)
        element(*tag.Child(i), level + 1);
    commit(indent(room(qsizetype(level) * 2), level));
    closeTag(nameStart, nameLength);
}

// UTF-16 to UTF-8 with the five predefined entities, in one pass.
void TQVL_XMLStream::text(const QString& value)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(value.constData());
    const char16_t* end = p + value.size();
    // The longest encoding of one UTF-16 unit is an entity or reference of six bytes.
    char* o = room(value.size() * 6);
    for (; p < end; ++p) {
        // Most text is plain ASCII, copied as it is.
        while (*p < 0x80 && (ascii.of[*p] & 4)) {
            *o++ = char(*p++);
            if (p == end) {
                commit(o);
                return;
            }
        }
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
    commit(o);
}

QByteArray TQVL_XMLStream::Finish()
{
    while (!open.empty())
        End();
    append("</root>\r\n", 9);
    out.resize(used);
    buffer = nullptr;
    used = capacity = 0;
    return std::move(out);
}
