#pragma once

#include <QLatin1String>
#include <QString>

class TQVL_DateTime;
class TQVL_XMLTag;

// Where a persisted object writes its elements, in the order they are to
// appear: straight into the bytes of a file (TQVL_XMLStream) or into a tag
// tree (TQVL_XMLTagWriter). Each object writes itself once for both. Element
// names are the literal names of our files.
class TQVL_XMLWriter
{
public:
    virtual ~TQVL_XMLWriter();

    // Opens an element without text; its children follow until End.
    virtual void Begin(QLatin1String name) = 0;
    virtual void End() = 0;
    // An element with text and no children.
    virtual void Text(QLatin1String name, const QString& value) = 0;
    // The value encodings every object uses: decimal text, "true"/"false",
    // and the stored date-time form.
    virtual void Integer(QLatin1String name, qint64 value) = 0;
    virtual void Boolean(QLatin1String name, bool value) = 0;
    virtual void DateTime(QLatin1String name, const TQVL_DateTime& value) = 0;
    // `tag` with its children at the current level.
    virtual void Tree(const TQVL_XMLTag& tag) = 0;
};
