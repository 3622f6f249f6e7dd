#pragma once

#include "ui/shell/FormMeta.h"

#include <array>

class TQVL;
class QCheckBox;
class QLabel;
class QPushButton;

// "Das Ergebnis Ihrer Abfrage": the screen after a query — its figures, a
// three-part rating picture, the success diagram of the units it covered, and
// the way on to the single results and to the long-term storage. Shown once
// the query has stopped, so its figures are final.
class TFormQueryResultStatistics : public TFormMeta
{
    Q_OBJECT
public:
    static constexpr int RatingParts = 3;
    static constexpr int RatingStates = 4;
    static constexpr int DiagramImageWidth = 540;
    static constexpr int DiagramImageHeight = 140;

    TFormQueryResultStatistics(QWidget* parent, TQVL& core);
    ~TFormQueryResultStatistics() override;

    // The states (0 to 3) of the rating parts A, B and C for a success rate
    // in percent; all 0 when nothing was answered.
    static std::array<int, RatingParts> RatingFor(int percent, bool answered);
    // The states the rating picture shows now.
    std::array<int, RatingParts> ShownRating() const;

    // Fills every figure from the query, the last-query record and the results.
    void Refresh();
    // Draws the success diagram of the last query's units (again).
    void DrawDiagram();

    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label_Information = nullptr;
    // Rating[part][state]: the images A0-A3, B0-B3, C0-C3; one per part is visible.
    std::array<std::array<QLabel*, RatingStates>, RatingParts> Rating{};
    QLabel* Image_Diagram = nullptr;
    QLabel* Label_NoResults = nullptr;
    QLabel* Label_GraphSelfEvaluated = nullptr;
    QCheckBox* dxCheckbox1 = nullptr;
    QPushButton* Button_Ok = nullptr;
    QPushButton* Button_Help = nullptr;
    QPushButton* Button_SingleResults = nullptr;
    QPushButton* Button_AddToLongTermStorage = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TQVL& core;
    void showRating(const std::array<int, RatingParts>& states);
    void layoutControls();
    void singleResults();
    void addToLongTermStorage();
};
