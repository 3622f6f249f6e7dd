#include "content/QVL_Card_Grammar.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

TQVL_Card_Grammar::TQVL_Card_Grammar(const TQVL_Card_Grammar& other) : TQVL_Card(other)
{
    fieldValues.reserve(other.fieldValues.size());
    for (const auto& item : other.fieldValues)
        fieldValues.push_back(std::make_unique<TQVL_Card_Grammar_FieldValue>(*item));
}

void TQVL_Card_Grammar::LoadFromXML(const TQVL_XMLTag& tag)
{
    static const QLatin1String names[] = {QLatin1String("uid"), QLatin1String("fieldvalues")};
    const TQVL_XMLTag* found[2];
    FindChildren(tag, names, 2, found);
    if (!found[1])
        throw TQVL_Error(QStringLiteral("Element \"fieldvalues\" fehlt in \"%1\"").arg(tag.Name));
    readUid(found[0]);

    static const QLatin1String itemNames[] = {QLatin1String("id"), QLatin1String("value")};
    const TQVL_XMLTag& list = *found[1];
    std::vector<std::unique_ptr<TQVL_Card_Grammar_FieldValue>> items;
    items.reserve(std::size_t(list.ChildCount()));
    for (int i = 0; i < list.ChildCount(); ++i) {
        const TQVL_XMLTag* parts[2];
        FindChildren(*list.Child(i), itemNames, 2, parts);
        auto item = std::make_unique<TQVL_Card_Grammar_FieldValue>();
        if (parts[0])
            item->id = parts[0]->AsInteger();
        if (parts[1])
            item->value = parts[1]->Value;
        items.push_back(std::move(item));
    }
    fieldValues = std::move(items);
}

void TQVL_Card_Grammar::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("uid"), Uid);
    TQVL_XMLTag* list = tag.AddChild(QStringLiteral("fieldvalues"));
    for (const auto& item : fieldValues) {
        TQVL_XMLTag* element = list->AddChild(QStringLiteral("fieldvalue"));
        element->AddInteger(QStringLiteral("id"), item->id);
        element->AddChild(QStringLiteral("value"), item->value);
    }
}

bool TQVL_Card_Grammar::Matches(const TQVL_Card& other, bool /*identical*/) const
{
    if (other.CardType != CardType)
        return false;
    const auto& card = static_cast<const TQVL_Card_Grammar&>(other);
    for (const auto& mine : fieldValues)
        for (const auto& theirs : card.fieldValues)
            if (mine->id == theirs->id && mine->value == theirs->value)
                return true;
    return false;
}

std::unique_ptr<TQVL_Card> TQVL_Card_Grammar::Clone() const
{
    return std::unique_ptr<TQVL_Card>(new TQVL_Card_Grammar(*this));
}

QString TQVL_Card_Grammar::GetValue(qint32 id) const
{
    for (const auto& item : fieldValues)
        if (item->id == id)
            return item->value;
    return {};
}

void TQVL_Card_Grammar::SetValue(qint32 id, const QString& text)
{
    bool found = false;
    for (const auto& item : fieldValues) {
        if (item->id == id) {
            item->value = text;
            found = true;
        }
    }
    if (!found) {
        TQVL_Card_Grammar_FieldValue* item = AddFieldValue();
        item->id = id;
        item->value = text;
    }
}

TQVL_Card_Grammar_FieldValue* TQVL_Card_Grammar::AddFieldValue()
{
    fieldValues.push_back(std::make_unique<TQVL_Card_Grammar_FieldValue>());
    return fieldValues.back().get();
}
