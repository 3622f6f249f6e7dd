#pragma once

#include "ui/show/Form_ShowMeta.h"

#include <QtGlobal>

// "Karten anzeigen" of a grammar unit: one column per label and input field
// of the unit's card arrangement, then the learner's counts.
class TFormShowGrammar : public TFormShowMeta
{
    Q_OBJECT
public:
    TFormShowGrammar(QWidget* parent, TQVL& core);

    // The field id each column shows (0 for the others), as of the last filling.
    const std::vector<qint32>& ColumnFields() const { return columnFields; }

protected:
    std::vector<TModelShowCards::TColumn> BuildColumns() override;
    TModelShowCards::TRow BuildRow(const TQVL_Card& card) override;
    QString HelpPage() const override { return QStringLiteral("help_show_grammar.html"); }

private:
    std::vector<qint32> columnFields;
};
