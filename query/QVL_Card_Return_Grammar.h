#pragma once

#include "query/QVL_Card_Return.h"

#include <QString>

#include <vector>

class TQVL_Card_Grammar;

// The answer to a grammar card: one text per input field of the card
// arrangement, tied to the field's id. The arrangement says which fields are
// asked; it is not owned and must outlive the answer.
class TQVL_Card_Return_Grammar : public TQVL_Card_Return
{
public:
    struct Value
    {
        QString Text;
        qint32 FieldId = 0;
    };

    explicit TQVL_Card_Return_Grammar(const TQVL_Card_Grammar& card, const TQVL_CardArrangement* arrangement = nullptr);

    // Every input field of the arrangement counts; it is right when the typed
    // text is the card's value, letter for letter (surrounding blanks aside).
    // All right (also when there are no input fields) is (100, 1); otherwise the
    // rounded share of right fields, code 2 above 75 %, else 3. Direction and
    // options play no part. Without an arrangement a programming error.
    void Evaluate(TQVL_Query_StepResult& Result, int Direction,
                  const TQVL_Query_Evaluation_Options& Options) const override;

    void Add(const QString& text, qint32 fieldId) { Values.push_back({text, fieldId}); }
    void Clear() { Values.clear(); }
    // The text of the first pair with `fieldId`; empty when there is none.
    QString GetText(qint32 fieldId) const;

    const TQVL_CardArrangement* Arrangement;
    std::vector<Value> Values;
};
