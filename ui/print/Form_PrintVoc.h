#pragma once

#include "ui/print/Form_PrintCards.h"

#include <array>

class QRadioButton;
class TQVL_Card_Voc;

// Prints vocabulary cards, landscape: as a list with one column per chosen
// field, or as small cards to cut out ("Kärtchen", four per row).
class TFormPrintVoc : public TFormPrintCards
{
    Q_OBJECT
public:
    explicit TFormPrintVoc(TQVL& core, QWidget* parent = nullptr);

    // The column codes of the list: 0-2 foreign meanings, 3-5 home meanings,
    // 6 note, 7 hint, 8 success.
    QList<int> Columns() const;
    QString ColumnHeader(int code) const;

    static constexpr int CardsPerRow = 4;

    QCheckBox* check_Foreign = nullptr;
    QCheckBox* check_German = nullptr;
    QCheckBox* check_AllMeanings = nullptr;
    QCheckBox* check_Note = nullptr;
    QCheckBox* check_Hint = nullptr;
    QCheckBox* check_Success = nullptr;
    QRadioButton* check_PaintList = nullptr;
    QRadioButton* check_PaintFields = nullptr;

protected:
    QString HelpPage() const override;
    void ReadSettings() override;
    int PrintRows(QPainter& canvas, int width, int index, int rowHeight, int top, int left, int height) override;

private:
    int printList(QPainter& canvas, int width, int index, int rowHeight, int top, int left, int height);
    int printFields(QPainter& canvas, int width, int index, int top, int left, int height);
    QString cellText(const TQVL_Card_Voc& card, int code) const;
    // The face of a column: the language profile's own font where it asks for it.
    QString fontFamily(int code) const;

    bool foreign = true, german = true, allMeanings = false, note = true, hint = false, success = true;
    bool paintFields = false;
    // "Anmerkungen", "Tip" and "Erfolg" as they were on the list, while the cards have them off.
    std::array<bool, 3> listChecks{};
};
