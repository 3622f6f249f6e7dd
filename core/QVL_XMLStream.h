#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class TQVL_XMLTag;

// Writes a document in the one byte layout of our files (declaration, CRLF,
// two-space indent, <name/> for empty elements, the five predefined
// entities) while it is being produced, so that a large file need not exist
// as a tag tree first. Elements are opened and closed, or written whole from
// a tag tree.
class TQVL_XMLStream
{
public:
    // Starts the document with its root and version elements.
    explicit TQVL_XMLStream(int version);

    // Opens an element without text; its children follow until End.
    void Begin(const QString& name);
    void End();
    // Writes `tag` with its children at the current level.
    void Tree(const TQVL_XMLTag& tag);
    // Closes the document and hands out its bytes.
    QByteArray Finish();

private:
    struct OpenElement {
        qsizetype nameStart;
        qsizetype nameLength;
        bool hasChildren;
    };
    void openParent();

    QByteArray out;
    std::vector<OpenElement> open;
};
