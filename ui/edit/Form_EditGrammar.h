#pragma once

#include "ui/edit/Form_Edit.h"

#include <QMap>

#include <vector>

class QLabel;
class QLineEdit;

// The grammar editor: one input per value field of the unit's card
// arrangement, with its caption, laid out in the arrangement's columns.
class TFormEditGrammar : public TFormEdit
{
    Q_OBJECT
public:
    // The maximal width of an input.
    static constexpr int InputMaxWidth = 250;

    explicit TFormEditGrammar(TQVL& core, QWidget* parent = nullptr);
    ~TFormEditGrammar() override;

    int CardKind() const override;
    void ShowCard(int index) override;
    bool IsCardEmpty() const override;

    // The inputs' texts by field id.
    QMap<qint32, QString> Values() const;

    // One input per label or input field of the arrangement, in its order.
    struct BoundInput
    {
        qint32 Id;
        QLineEdit* Input;
    };
    const std::vector<BoundInput>& Inputs() const { return inputs; }
    QLabel* Label_Arrangement = nullptr;

protected:
    QString HelpPage() const override;
    void WriteCard(TQVL_Card& card) override;

private:
    void createInputs();

    std::vector<BoundInput> inputs;
};
