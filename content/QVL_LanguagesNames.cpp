#include "content/QVL_LanguagesNames.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

namespace {

TLanguageName entry(const QString& id, const QString& name)
{
    return TLanguageName{id.left(3), name};
}

} // namespace

TQVL_LanguagesNames::TQVL_LanguagesNames() = default;

TQVL_LanguagesNames::~TQVL_LanguagesNames() = default;

void TQVL_LanguagesNames::LoadFromXML(TQVL_XMLTag& tag)
{
    std::vector<TLanguageName> read;
    try {
        if (const TQVL_XMLTag* languages = tag.FindChild(QStringLiteral("languages"))) {
            read.reserve(std::size_t(languages->ChildCount()));
            // Every child is an entry, whatever its name.
            for (int i = 0; i < languages->ChildCount(); ++i) {
                const TQVL_XMLTag& language = *languages->Child(i);
                const QString& name = language.NeedChild(QStringLiteral("name")).Value;
                read.push_back(entry(language.NeedChild(QStringLiteral("id")).Value, name));
            }
        }
    } catch (const TQVL_Error&) {
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist keine gültige Sprachnamendatei!").arg(FileName));
    }
    entries = std::move(read);
}

void TQVL_LanguagesNames::SaveToXML(TQVL_XMLTag& tag)
{
    TQVL_XMLTag* languages = tag.AddChild(QStringLiteral("languages"));
    for (const TLanguageName& language : entries) {
        TQVL_XMLTag* element = languages->AddChild(QStringLiteral("language"));
        element->AddChild(QStringLiteral("id"), language.id);
        element->AddChild(QStringLiteral("name"), language.name);
    }
}

void TQVL_LanguagesNames::Add(const QString& Id, const QString& Name)
{
    entries.push_back(entry(Id, Name));
}

const TLanguageName& TQVL_LanguagesNames::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw TQVL_Error(QStringLiteral("Language index %1 out of range").arg(Index));
    return entries[std::size_t(Index)];
}

void TQVL_LanguagesNames::GetNames(QStringList& List) const
{
    List.clear();
    List.reserve(Count());
    for (const TLanguageName& language : entries)
        List.append(language.name);
}

QString TQVL_LanguagesNames::CodeAt(int Index) const
{
    return Item(Index).id;
}

QString TQVL_LanguagesNames::NameOf(const QString& Code) const
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->id == Code)
            return it->name;
    return QStringLiteral("Unknown");
}
