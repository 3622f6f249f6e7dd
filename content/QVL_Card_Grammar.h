#pragma once

#include "content/QVL_Card.h"
#include "content/QVL_Card_Grammar_FieldValue.h"

#include <vector>

// A grammar card: values for the fields of the card arrangement named by its
// unit. The card owns its list of field values.
class TQVL_Card_Grammar : public TQVL_Card
{
public:
    TQVL_Card_Grammar() : TQVL_Card(tGrammar) {}

    // Needs the element "fieldvalues" (raises without it); every child of it is
    // a field value whatever its name, with optional "id" and "value".
    void LoadFromXML(const TQVL_XMLElement& element) override;
    void WriteXML(TQVL_XMLWriter& writer) const override;
    // Identical and similar alike: some field value here has the same id and
    // the same text (the empty text too) as some field value of `other`.
    bool Matches(const TQVL_Card& other, bool identical) const override;
    std::unique_ptr<TQVL_Card> Clone() const override;

    // The value of the first field value with `id`; empty when there is none.
    QString GetValue(qint32 id) const;
    // Sets every field value with `id`; appends one when there is none.
    void SetValue(qint32 id, const QString& text);
    // Appends an empty field value (id 0); the card keeps owning it.
    TQVL_Card_Grammar_FieldValue* AddFieldValue();
    int FieldValueCount() const { return int(fieldValues.size()); }
    TQVL_Card_Grammar_FieldValue* FieldValue(int index) const { return fieldValues[std::size_t(index)].get(); }
    void ClearFieldValues() { fieldValues.clear(); }

private:
    TQVL_Card_Grammar(const TQVL_Card_Grammar& other);

    std::vector<std::unique_ptr<TQVL_Card_Grammar_FieldValue>> fieldValues;
};
