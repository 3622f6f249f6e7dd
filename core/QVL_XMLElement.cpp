#include "core/QVL_XMLElement.h"

#include "core/QVL_DateTime.h"
#include "core/QVL_Encoding.h"
#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

#include <pugixml.hpp>

#include <cstring>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// Deeper trees than any file of ours; the limit keeps hostile input from
// exhausting the stack while copying.
constexpr int maxDepth = 256;

pugi::xml_node asNode(pugi::xml_node_struct* node)
{
    return pugi::xml_node(node);
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isElement(const pugi::xml_node& node)
{
    return node.type() == pugi::node_element;
}

bool sameName(const char* name, QLatin1String expected)
{
    return std::strncmp(name, expected.data(), std::size_t(expected.size())) == 0 && name[expected.size()] == 0;
}

// Element names are short ASCII; an inline compare keeps reading large files
// from spending its time in the general string comparison.
bool sameName(const QString& name, QLatin1String expected)
{
    if (name.size() != expected.size())
        return false;
    const QChar* a = name.constData();
    const char* b = expected.data();
    for (qsizetype i = 0; i < name.size(); ++i)
        if (a[i].unicode() != uchar(b[i]))
            return false;
    return true;
}

// The text of a parsed element as a tag keeps it: text and CDATA parts in
// order; with child elements, the line break and indentation the writer puts
// after the text are not part of it. Points into the parsed document when the
// text is one part, into `joined` otherwise.
std::string_view textOf(const pugi::xml_node& node, std::string& joined)
{
    std::string_view text;
    bool hasElements = false;
    int parts = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_element:
            hasElements = true;
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            if (parts++ == 0) {
                text = child.value();
            } else {
                if (parts == 2)
                    joined.assign(text);
                joined.append(child.value());
                text = joined;
            }
            break;
        default:
            break;
        }
    }
    if (hasElements)
        while (!text.empty() && isSpace(text.back()))
            text.remove_suffix(1);
    return text;
}

// Element names repeat thousands of times in a file; sharing one QString per
// distinct name saves an allocation per element of a copied tree.
class NameCache
{
public:
    const QString& Get(const char* name)
    {
        const std::string_view key(name);
        auto it = names.find(key);
        if (it == names.end()) {
            keys.emplace_back(key);
            it =
                names.emplace(std::string_view(keys.back()), TQVL_Encoding::FromUtf8(key.data(), qsizetype(key.size())))
                    .first;
        }
        return it->second;
    }

private:
    std::list<std::string> keys;
    std::unordered_map<std::string_view, QString> names;
};

void copyNode(const pugi::xml_node& node, TQVL_XMLTag& tag, NameCache& cache, int depth)
{
    if (depth > maxDepth)
        throw TQVL_Error(QStringLiteral("Die XML-Struktur ist zu tief verschachtelt."));
    int elementCount = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        elementCount += isElement(child);
    tag.ReserveChildren(elementCount);
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (isElement(child))
            copyNode(child, *tag.AddChild(cache.Get(child.name())), cache, depth + 1);
    std::string joined;
    const std::string_view text = textOf(node, joined);
    if (!text.empty())
        tag.Value = TQVL_Encoding::FromUtf8(text.data(), qsizetype(text.size()));
}

void copyTag(const TQVL_XMLTag& source, TQVL_XMLTag& target, int depth)
{
    if (depth > maxDepth)
        throw TQVL_Error(QStringLiteral("Die XML-Struktur ist zu tief verschachtelt."));
    target.Value = source.Value;
    target.ReserveChildren(source.ChildCount());
    for (int i = 0; i < source.ChildCount(); ++i) {
        const TQVL_XMLTag& child = *source.Child(i);
        copyTag(child, *target.AddChild(child.Name), depth + 1);
    }
}

[[noreturn]] void noElement()
{
    throw TQVL_Error(QStringLiteral("Kein Element"));
}

} // namespace

QString TQVL_XMLElement::Name() const
{
    if (node) {
        const char* name = asNode(node).name();
        return TQVL_Encoding::FromUtf8(name, qsizetype(std::strlen(name)));
    }
    return tag ? tag->Name : QString();
}

bool TQVL_XMLElement::HasName(QLatin1String name) const
{
    if (node)
        return sameName(asNode(node).name(), name);
    return tag && sameName(tag->Name, name);
}

TQVL_XMLElement TQVL_XMLElement::FirstChild() const
{
    if (node) {
        for (pugi::xml_node child = asNode(node).first_child(); child; child = child.next_sibling())
            if (isElement(child))
                return TQVL_XMLElement(child.internal_object());
        return {};
    }
    if (tag && tag->ChildCount() > 0)
        return TQVL_XMLElement(tag->Child(0), 0);
    return {};
}

TQVL_XMLElement TQVL_XMLElement::NextSibling() const
{
    if (node) {
        for (pugi::xml_node next = asNode(node).next_sibling(); next; next = next.next_sibling())
            if (isElement(next))
                return TQVL_XMLElement(next.internal_object());
        return {};
    }
    const TQVL_XMLTag* parent = tag ? tag->Parent() : nullptr;
    if (!parent)
        return {};
    int position = index;
    if (position < 0)
        for (position = 0; position < parent->ChildCount() && parent->Child(position) != tag; ++position) {
        }
    if (position + 1 >= parent->ChildCount())
        return {};
    return TQVL_XMLElement(parent->Child(position + 1), position + 1);
}

int TQVL_XMLElement::ChildCount() const
{
    if (tag)
        return tag->ChildCount();
    int count = 0;
    if (node)
        for (pugi::xml_node child = asNode(node).first_child(); child; child = child.next_sibling())
            count += isElement(child);
    return count;
}

TQVL_XMLElement TQVL_XMLElement::FindChild(QLatin1String name) const
{
    if (node) {
        for (pugi::xml_node child = asNode(node).last_child(); child; child = child.previous_sibling())
            if (isElement(child) && sameName(child.name(), name))
                return TQVL_XMLElement(child.internal_object());
        return {};
    }
    if (tag)
        for (int i = tag->ChildCount() - 1; i >= 0; --i)
            if (sameName(tag->Child(i)->Name, name))
                return TQVL_XMLElement(tag->Child(i), i);
    return {};
}

TQVL_XMLElement TQVL_XMLElement::NeedChild(QLatin1String name) const
{
    const TQVL_XMLElement child = FindChild(name);
    if (!child)
        throw TQVL_Error(QStringLiteral("Element \"%1\" fehlt in \"%2\"").arg(name, Name()));
    return child;
}

void TQVL_XMLElement::FindChildren(const QLatin1String* names, int count, TQVL_XMLElement* found) const
{
    std::fill(found, found + count, TQVL_XMLElement());
    // The next name is tried first; a later child of the same name replaces
    // an earlier one, as FindChild gives the last.
    int next = 0;
    for (const TQVL_XMLElement child : Children()) {
        for (int k = 0; k < count; ++k) {
            const int n = next + k < count ? next + k : next + k - count;
            if (child.HasName(names[n])) {
                found[n] = child;
                next = n + 1 < count ? n + 1 : 0;
                break;
            }
        }
    }
}

QString TQVL_XMLElement::Value() const
{
    if (tag)
        return tag->Value;
    if (!node)
        noElement();
    std::string joined;
    const std::string_view text = textOf(asNode(node), joined);
    return text.empty() ? QString() : TQVL_Encoding::FromUtf8(text.data(), qsizetype(text.size()));
}

bool TQVL_XMLElement::AsBoolean() const
{
    if (tag)
        return tag->AsBoolean();
    if (!node)
        noElement();
    std::string joined;
    return textOf(asNode(node), joined) == "true";
}

int TQVL_XMLElement::AsInteger() const
{
    if (tag)
        return tag->AsInteger();
    if (!node)
        noElement();
    std::string joined;
    const std::string_view text = textOf(asNode(node), joined);
    return TQVL_XMLTag::Utf8ToInteger(text.data(), qsizetype(text.size()));
}

qint64 TQVL_XMLElement::AsInt64() const
{
    if (tag)
        return tag->AsInt64();
    if (!node)
        noElement();
    std::string joined;
    const std::string_view text = textOf(asNode(node), joined);
    return TQVL_XMLTag::Utf8ToInt64(text.data(), qsizetype(text.size()));
}

TQVL_DateTime TQVL_XMLElement::AsDateTime() const
{
    if (tag)
        return tag->AsDateTime();
    if (!node)
        noElement();
    std::string joined;
    const std::string_view text = textOf(asNode(node), joined);
    TQVL_DateTime result;
    if (!TQVL_DateTime::TryParseUtf8(text.data(), qsizetype(text.size()), result))
        throw TQVL_ConvertError(QStringLiteral("'%1' ist kein gültiges Datum")
                                    .arg(TQVL_Encoding::FromUtf8(text.data(), qsizetype(text.size()))));
    return result;
}

void TQVL_XMLElement::CopyInto(TQVL_XMLTag& target) const
{
    if (node) {
        NameCache cache;
        copyNode(asNode(node), target, cache, 0);
    } else if (tag) {
        copyTag(*tag, target, 0);
    }
}
