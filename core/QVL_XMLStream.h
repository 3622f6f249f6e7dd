#pragma once

#include "core/QVL_XMLWriter.h"

#include <QByteArray>
#include <QString>

#include <cstring>
#include <vector>

// Writes a document in the one byte layout of our files (declaration, CRLF,
// two-space indent, <name/> for empty elements, the five predefined
// entities) while it is being produced, so that a large file never exists as
// a tag tree. Elements are opened and closed, written with their value, or
// written whole from a tag tree.
class TQVL_XMLStream final : public TQVL_XMLWriter
{
public:
    // Starts the document with its root and version elements. `sizeHint`, the
    // size the file is expected to have, saves growing the buffer step by step.
    explicit TQVL_XMLStream(int version, qsizetype sizeHint = 0);

    void Begin(QLatin1String name) override;
    void Begin(const QString& name);
    void End() override;
    void Text(QLatin1String name, const QString& value) override;
    void Integer(QLatin1String name, qint64 value) override;
    void Boolean(QLatin1String name, bool value) override;
    void DateTime(QLatin1String name, const TQVL_DateTime& value) override;
    void Tree(const TQVL_XMLTag& tag) override;
    // Closes the document and hands out its bytes.
    QByteArray Finish();

private:
    struct OpenElement {
        qsizetype nameStart;
        qsizetype nameLength;
        bool hasChildren;
    };

    // Space for `extra` more bytes; returns where they start. Commit ends the
    // written part at a pointer into that space.
    char* room(qsizetype extra)
    {
        if (used + extra > capacity)
            grow(used + extra);
        return buffer + used;
    }
    void commit(char* end) { used = end - buffer; }
    void grow(qsizetype needed);
    void append(const char* bytes, qsizetype length)
    {
        char* p = room(length);
        std::memcpy(p, bytes, std::size_t(length));
        commit(p + length);
    }

    // Makes the innermost open element a parent: its opening tag is ended.
    void openParent();
    // Indentation, "<" and the checked name; returns where the name starts.
    qsizetype openTag(QLatin1String name, int level);
    qsizetype openTag(const QString& name, int level);
    // "</name>" and the line end, the name copied from where openTag wrote it.
    void closeTag(qsizetype nameStart, qsizetype nameLength);
    // A leaf element whose value bytes come from `writeValue`.
    template <typename WriteValue>
    void leaf(QLatin1String name, WriteValue writeValue);
    void text(const QString& value);
    void element(const TQVL_XMLTag& tag, int level);

    QByteArray out;
    char* buffer = nullptr;
    qsizetype used = 0;
    qsizetype capacity = 0;
    std::vector<OpenElement> open;
};
