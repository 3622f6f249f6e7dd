#pragma once

#include "content/QVL_Card_Voc_Values.h"
#include "ui/edit/Form_Edit.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class TQVL_Card_Voc;

// The vocabulary editor: three foreign and three home meanings side by side,
// a note and a hint below. Enter in the first foreign meaning moves on to the
// first home meaning; Enter there stores the card and opens the next one.
class TFormEditVoc : public TFormEdit
{
    Q_OBJECT
public:
    explicit TFormEditVoc(TQVL& core, QWidget* parent = nullptr);
    ~TFormEditVoc() override;

    int CardKind() const override;
    void ShowCard(int index) override;
    bool IsCardEmpty() const override;

    // What the inputs hold, and filling them.
    virtual TQVL_Card_Voc_Values Values() const;
    virtual void SetValues(const TQVL_Card_Voc_Values& values);

    QLabel* Label_Foreign = nullptr;
    QLabel* Label_Home = nullptr;
    QLineEdit* TntEdit1 = nullptr;
    QLineEdit* TntEdit2 = nullptr;
    QLineEdit* TntEdit3 = nullptr;
    QLineEdit* TntEdit4 = nullptr;
    QLineEdit* TntEdit5 = nullptr;
    QLineEdit* TntEdit6 = nullptr;
    QLineEdit* TntEdit7 = nullptr;
    QLineEdit* TntEdit8 = nullptr;

protected:
    QString HelpPage() const override;
    void WriteCard(TQVL_Card& card) override;
    // Whether the editor's values include the two sound files.
    virtual bool WithSoundFiles() const { return false; }

    // Two columns: foreign left, home right; subclasses append rows.
    QGridLayout* Grid = nullptr;

private:
    // The inputs for `card`; a card of another kind is never written to nor
    // removed as empty.
    TQVL_Card_Voc_Values valuesFor(const TQVL_Card_Voc& card) const;
};
