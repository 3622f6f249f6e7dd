#pragma once

#include <QLatin1String>
#include <QString>

#include <iterator>
#include <memory>

class TQVL_DateTime;
class TQVL_XMLTag;

namespace pugi {
struct xml_node_struct;
}

// A read-only view of one element of a document that has been read: either an
// element of the parser's own tree (large files are read straight from it, so
// they never exist as a tag tree) or a TQVL_XMLTag. Both give the same names,
// texts and children, so a reader is written once for both. A view is small
// and copied freely; it is valid as long as the document or tag it shows.
class TQVL_XMLElement
{
public:
    class Iterator;
    struct Range;

    // No element: tests false, has no children, and reading a value raises.
    TQVL_XMLElement() = default;
    // Not explicit: every reader also takes a tag tree.
    TQVL_XMLElement(const TQVL_XMLTag& source) : tag(&source) {}

    explicit operator bool() const { return node || tag; }

    QString Name() const;
    bool HasName(QLatin1String name) const;

    // The child elements in file order; text, comments and processing instructions are skipped.
    TQVL_XMLElement FirstChild() const;
    TQVL_XMLElement NextSibling() const;
    Range Children() const;
    int ChildCount() const;

    // The child named exactly `name`; of several, the last one; none if there is none.
    TQVL_XMLElement FindChild(QLatin1String name) const;
    // As FindChild, but a missing child raises an error naming it. Readers turn
    // that error into their own "not a valid file" message.
    TQVL_XMLElement NeedChild(QLatin1String name) const;
    // For each of `names`, what FindChild gives, found in one pass over the
    // children: files we wrote list them in `names` order, so a child costs
    // about one comparison.
    void FindChildren(const QLatin1String* names, int count, TQVL_XMLElement* found) const;
    // `child`, a child found by FindChildren, when there is one; otherwise
    // NeedChild's error for `name`.
    TQVL_XMLElement Required(const TQVL_XMLElement& child, QLatin1String name) const
    {
        return child ? child : NeedChild(name);
    }

    // The text of the element as a tag tree keeps it: its text and CDATA parts
    // joined, trailing layout whitespace dropped when it has child elements.
    QString Value() const;
    // True only for the exact text "true".
    bool AsBoolean() const;
    // The text as a signed decimal number; anything else raises TQVL_ConvertError.
    int AsInteger() const;
    qint64 AsInt64() const;
    // The text as a stored date-time (ISO 8601 accepted); other text raises TQVL_ConvertError.
    TQVL_DateTime AsDateTime() const;

    // Copies the element's text and its children, recursively, into `target`
    // (its name is left as it is). Elements nested deeper than any file of ours
    // raise an error.
    void CopyInto(TQVL_XMLTag& target) const;

private:
    friend class TQVL_NativeXML;
    friend class Iterator;
    explicit TQVL_XMLElement(pugi::xml_node_struct* parsed) : node(parsed) {}
    TQVL_XMLElement(const TQVL_XMLTag* child, int position) : tag(child), index(position) {}

    pugi::xml_node_struct* node = nullptr;
    const TQVL_XMLTag* tag = nullptr;
    // Position of `tag` among its parent's children, for NextSibling; -1 when not known yet.
    int index = -1;
};

class TQVL_XMLElement::Iterator
{
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = TQVL_XMLElement;
    using difference_type = std::ptrdiff_t;
    using pointer = const TQVL_XMLElement*;
    using reference = const TQVL_XMLElement&;

    Iterator() = default;
    explicit Iterator(TQVL_XMLElement element) : current(element) {}
    const TQVL_XMLElement& operator*() const { return current; }
    const TQVL_XMLElement* operator->() const { return &current; }
    Iterator& operator++()
    {
        current = current.NextSibling();
        return *this;
    }
    Iterator operator++(int)
    {
        Iterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const Iterator& other) const
    {
        return current.node == other.current.node && current.tag == other.current.tag;
    }

private:
    TQVL_XMLElement current;
};

struct TQVL_XMLElement::Range
{
    TQVL_XMLElement first;
    Iterator begin() const { return Iterator(first); }
    Iterator end() const { return Iterator(); }
};

inline TQVL_XMLElement::Range TQVL_XMLElement::Children() const
{
    return Range{FirstChild()};
}
