#include "core/QVL_XMLTagWriter.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLTag.h"

TQVL_XMLWriter::~TQVL_XMLWriter() = default;

void TQVL_XMLTagWriter::Begin(QLatin1String name)
{
    current = current->AddChild(QString(name));
}

void TQVL_XMLTagWriter::End()
{
    Q_ASSERT(current->Parent());
    current = current->Parent();
}

void TQVL_XMLTagWriter::Text(QLatin1String name, const QString& value)
{
    current->AddChild(QString(name), value);
}

void TQVL_XMLTagWriter::Integer(QLatin1String name, qint64 value)
{
    current->AddInteger(QString(name), value);
}

void TQVL_XMLTagWriter::Boolean(QLatin1String name, bool value)
{
    current->AddBoolean(QString(name), value);
}

void TQVL_XMLTagWriter::DateTime(QLatin1String name, const TQVL_DateTime& value)
{
    current->AddChild(QString(name))->SetDateTime(value);
}

void TQVL_XMLTagWriter::Tree(const TQVL_XMLTag& tag)
{
    TQVL_XMLElement(tag).CopyInto(*current->AddChild(tag.Name));
}
