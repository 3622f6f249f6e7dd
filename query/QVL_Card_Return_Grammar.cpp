#include "query/QVL_Card_Return_Grammar.h"

#include "content/QVL_CardArrangement.h"
#include "content/QVL_Card_Grammar.h"
#include "core/QVL_Error.h"
#include "core/QVL_Math.h"

namespace {

// Exact and case-sensitive; blanks around the text are invisible in the table
// and do not count, and canonically equal spellings of a letter are equal.
bool sameText(const QString& value, const QString& typed)
{
    return value.trimmed().normalized(QString::NormalizationForm_C) ==
           typed.trimmed().normalized(QString::NormalizationForm_C);
}

} // namespace

TQVL_Card_Return_Grammar::TQVL_Card_Return_Grammar(const TQVL_Card_Grammar& card,
                                                   const TQVL_CardArrangement* arrangement)
    : TQVL_Card_Return(card), Arrangement(arrangement)
{
}

void TQVL_Card_Return_Grammar::Evaluate(TQVL_Query_StepResult& Result, int /*Direction*/,
                                        const TQVL_Query_Evaluation_Options& /*Options*/) const
{
    if (!Arrangement)
        throw TQVL_Error(QStringLiteral("no CardArrangement"));
    const auto& card = static_cast<const TQVL_Card_Grammar&>(Card);
    int counted = 0;
    int right = 0;
    for (int i = 0; i < Arrangement->FieldCount(); ++i) {
        const TQVL_CardArrangement_Field* field = Arrangement->Field(i);
        if (field->Type != cftInputField)
            continue;
        ++counted;
        if (sameText(card.GetValue(field->Id), GetText(field->Id)))
            ++right;
    }
    if (right == counted) {
        Result = {100, TQVL_StepCode::Right};
        return;
    }
    const auto percent = quint8(RoundHalfEven(right * 100.0 / counted));
    Result = {percent, percent > 75 ? TQVL_StepCode::AlmostRight : TQVL_StepCode::Wrong};
}

QString TQVL_Card_Return_Grammar::GetText(qint32 fieldId) const
{
    for (const Value& value : Values) {
        if (value.FieldId == fieldId)
            return value.Text;
    }
    return {};
}
