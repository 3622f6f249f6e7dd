#pragma once

#include "ui/print/Form_PrintMeta.h"

#include <QList>
#include <QString>

#include <functional>

class QCheckBox;
class QFontMetrics;
class QGroupBox;
class QPainter;
class QVBoxLayout;
class TQVL_Card;
class TQVL_Language;
class TQVL_Unit;

// The print dialogs of a unit's cards: the common settings ("Überschriften",
// "Lektion & Seitenzahlen", "Linien", "Schriftgröße:") and the page loop with
// header and footer bands. Subclasses fill the pages row by row in PrintRows.
class TFormPrintCards : public TFormPrintMeta
{
    Q_OBJECT
public:
    explicit TFormPrintCards(TQVL& core, QWidget* parent = nullptr);
    ~TFormPrintCards() override;

    void PaintPages(TPrintPages& pages) override;

    // `text` as it fits `width`: unchanged, or shortened by four characters
    // at a time with "..." appended; empty when not even "T" fits.
    static QString Shortened(const QFontMetrics& metrics, const QString& text, int width);
    // "3 von 4 (75%)"; "0 von 0 (0%)" for a card or lesson never queried.
    QString SuccessText(const TQVL_Card& card) const;

    static const QList<int> FontSizes;

    // Opens the print dialog that fits the active unit, modally: vocabulary
    // (and sound and storage) units as lists or cards, grammar units as a table.
    static void PrintActiveUnit(TQVL& core, QWidget* parent);

    QGroupBox* Group_Settings = nullptr;
    QCheckBox* check_Captions = nullptr;
    QCheckBox* check_HeaderAndFooter = nullptr;
    QCheckBox* check_Gridlines = nullptr;
    QComboBox* combo_FontSize = nullptr;

    // The height of the rows' area of a page (after the last BuildPages).
    int ContentHeight() const { return contentHeight; }

    bool ShowCaptions = true;
    bool ShowHeaderFooter = true;
    bool ShowGridLines = false;
    int FontSize = 11;

protected:
    virtual void ReadSettings();
    // Fills one page from card `index` on and returns the index of the first
    // card that did not fit.
    virtual int PrintRows(QPainter& canvas, int width, int index, int rowHeight, int top, int left, int height) = 0;
    // Connects a setting so that changing it rebuilds the pages at once.
    void RebuildOnChange(QCheckBox* box);
    // Draws `text` shortened to `width` with its top at `top`.
    static void DrawCellText(QPainter& canvas, const QString& text, int left, int top, int width);

    // A column of the card list: its header and, for a card, its text, in
    // `Family` at the chosen size (empty: the page's own font).
    struct TColumn
    {
        QString Header;
        QString Family;
        std::function<QString(const TQVL_Card& card)> Text;
    };
    // The cards from `index` on as a list, one row a card, in columns of equal
    // width, headers (with "Überschriften") and lines between the rows (with
    // "Linien"); returns the index of the first card that did not fit.
    int PrintList(QPainter& canvas, const QList<TColumn>& columns, int width, int index, int rowHeight, int top,
                  int left, int height);
    // The open language profile of the lesson's foreign or the learner's own
    // language; nullptr when none is open.
    const TQVL_Language* OpenLanguage(bool foreignSide) const;
    // The font family a side's texts are printed in: its profile's small font
    // where the profile asks for its fonts, else "Tahoma".
    QString LanguageFontFamily(bool foreignSide) const;
    // The settings panel's layout, for the subclasses' own settings.
    QVBoxLayout* SettingsLayout() const { return settingsLayout; }
    const TQVL_Unit& Unit() const;

private:
    void drawBand(QPainter& canvas, int top, int width, int height, const QString& left, const QString& right);

    QVBoxLayout* settingsLayout = nullptr;
    int pageNumber = 0;
    int contentHeight = 0;
};
