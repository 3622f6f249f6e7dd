#include "content/QVL_CardArrangement_Field.h"

#include "core/QVL_XMLTag.h"

namespace {

const char* const typeNames[] = {"labelfield", "inputfield", "constantlabel", "vertspace", "column"};

} // namespace

void TQVL_CardArrangement_Field::LoadFromXML(const TQVL_XMLTag& tag)
{
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("id")))
        Id = t->AsInteger();
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("type")))
        Type = TypeOfName(t->Value);
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("caption")))
        Caption = t->Value;
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("query_visible")))
        QueryVisible = t->AsBoolean();
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("caption_width_percentage")))
        CaptionWidthPercentage = quint8(t->AsInteger() & 0xFF);
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("language_foreign")))
        LanguageForeign = t->AsBoolean();
}

void TQVL_CardArrangement_Field::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("id"), Id);
    tag.AddChild(QStringLiteral("type"), TypeName(Type));
    tag.AddChild(QStringLiteral("caption"), Caption);
    tag.AddBoolean(QStringLiteral("query_visible"), QueryVisible);
    tag.AddInteger(QStringLiteral("caption_width_percentage"), CaptionWidthPercentage);
    tag.AddBoolean(QStringLiteral("language_foreign"), LanguageForeign);
}

QString TQVL_CardArrangement_Field::TypeName(TQVL_CardArrangement_FieldType type)
{
    return QString::fromLatin1(type <= cftColumn ? typeNames[type] : typeNames[cftLabelField]);
}

TQVL_CardArrangement_FieldType TQVL_CardArrangement_Field::TypeOfName(const QString& name)
{
    for (quint8 type = cftLabelField; type <= cftColumn; ++type)
        if (name == QLatin1String(typeNames[type]))
            return TQVL_CardArrangement_FieldType(type);
    return cftLabelField;
}
