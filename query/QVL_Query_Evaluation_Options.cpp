#include "query/QVL_Query_Evaluation_Options.h"

#include "core/QVL_XMLTag.h"

void TQVL_Query_Evaluation_Options::LoadFromXML(const TQVL_XMLTag& tag)
{
    ignorecase = tag.NeedChild(QStringLiteral("ignorecase")).AsBoolean();
    allmeaningscorrect = tag.NeedChild(QStringLiteral("allmeaningscorrect")).AsBoolean();
}

void TQVL_Query_Evaluation_Options::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddBoolean(QStringLiteral("ignorecase"), ignorecase);
    tag.AddBoolean(QStringLiteral("allmeaningscorrect"), allmeaningscorrect);
}
