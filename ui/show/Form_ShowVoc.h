#pragma once

#include "ui/show/Form_ShowMeta.h"

// "Vokabeln anzeigen": the cards of a vocabulary, sound or long-term storage
// unit with their meanings, hint, note and the learner's counts; for a
// storage also each card's stage and due date.
class TFormShowVoc : public TFormShowMeta
{
    Q_OBJECT
public:
    enum TColumn
    {
        colLight,
        colForeign1,
        colForeign2,
        colForeign3,
        colHome1,
        colHome2,
        colHome3,
        colHint,
        colNote,
        colQueried,
        colRight,
        colPointValue,
        // Only for a long-term storage.
        colStage,
        colDue,
        ColumnCount
    };

    TFormShowVoc(QWidget* parent, TQVL& core);

protected:
    std::vector<TModelShowCards::TColumn> BuildColumns() override;
    TModelShowCards::TRow BuildRow(const TQVL_Card& card) override;
    QString HelpPage() const override { return QStringLiteral("help_show_voc.html"); }
};
