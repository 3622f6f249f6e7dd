#include "content/QVL_Card_Grammar.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

using namespace Qt::Literals::StringLiterals;

TQVL_Card_Grammar::TQVL_Card_Grammar(const TQVL_Card_Grammar& other) : TQVL_Card(other)
{
    fieldValues.reserve(other.fieldValues.size());
    for (const auto& item : other.fieldValues)
        fieldValues.push_back(std::make_unique<TQVL_Card_Grammar_FieldValue>(*item));
}

void TQVL_Card_Grammar::LoadFromXML(const TQVL_XMLElement& element)
{
    static const QLatin1String names[] = {"uid"_L1, "fieldvalues"_L1};
    TQVL_XMLElement found[2];
    element.FindChildren(names, 2, found);
    if (!found[1])
        throw TQVL_Error(QStringLiteral("Element \"fieldvalues\" fehlt in \"%1\"").arg(element.Name()));
    readUid(found[0]);

    static const QLatin1String itemNames[] = {"id"_L1, "value"_L1};
    const TQVL_XMLElement list = found[1];
    std::vector<std::unique_ptr<TQVL_Card_Grammar_FieldValue>> items;
    items.reserve(std::size_t(list.ChildCount()));
    for (const TQVL_XMLElement fieldValue : list.Children()) {
        TQVL_XMLElement parts[2];
        fieldValue.FindChildren(itemNames, 2, parts);
        auto item = std::make_unique<TQVL_Card_Grammar_FieldValue>();
        if (parts[0])
            item->id = parts[0].AsInteger();
        if (parts[1])
            item->value = parts[1].Value();
        items.push_back(std::move(item));
    }
    fieldValues = std::move(items);
}

void TQVL_Card_Grammar::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.Integer("uid"_L1, Uid);
    writer.Begin("fieldvalues"_L1);
    for (const auto& item : fieldValues) {
        writer.Begin("fieldvalue"_L1);
        writer.Integer("id"_L1, item->id);
        writer.Text("value"_L1, item->value);
        writer.End();
    }
    writer.End();
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
