#pragma once

#include "ui/edit/Form_Edit.h"

#include <QPixmap>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class TPictureArea;
class TQVL_Card_Pic;
class TQVL_Card_Pic_ClickArea;

// The picture editor: a picture from the unit's graphics folder with a
// question, answered by a text or by a click into a circle placed on the
// picture. The context menu of the picture keeps question or picture for the
// next new card and loads a picture.
class TFormEditPicture : public TFormEdit
{
    Q_OBJECT
public:
    static constexpr int DefaultRadius = 60;
    static constexpr int NoPictureRadius = 20;

    explicit TFormEditPicture(TQVL& core, QWidget* parent = nullptr);
    ~TFormEditPicture() override;

    int CardKind() const override;
    void CreateNewCard() override;
    void ShowCard(int index) override;
    bool IsCardEmpty() const override;

    // "Bild laden": picks a picture, copies it into the graphics folder after
    // asking when it lies elsewhere, and shows it.
    void LoadPicture();
    // "Stelle jetzt festlegen": a new circle that the next click on the picture places.
    void SetPosition();
    // "Stelle löschen".
    void DeletePosition();
    // A left click at `point` of the shown picture (in its own coordinates).
    void PictureClicked(const QPoint& point);
    // The answer kind chosen by the learner.
    void ChooseTextAnswer();
    void ChooseClickAnswer();
    void RadiusChanged();

    // The unit's graphics folder.
    QString GraphicsFolder() const;
    // Where the shown picture is drawn inside Image1, in Image1's coordinates.
    QRect PictureRect() const;
    bool Placing() const { return placing; }
    TQVL_Card_Pic_ClickArea* CurrentArea() const { return currentArea; }

    TPictureArea* Image1 = nullptr;
    QLineEdit* TntEdit1 = nullptr;
    QLineEdit* TntEdit2 = nullptr;
    QRadioButton* RadioButton_Text = nullptr;
    QRadioButton* RadioButton_Click = nullptr;
    QStackedWidget* PageControl1 = nullptr;
    QPushButton* Button_SetPosition = nullptr;
    QPushButton* Button_DeletePosition = nullptr;
    QComboBox* ComboBox_Radius = nullptr;
    QLabel* Label_Prompt = nullptr;
    QAction* Action_KeepQuestion = nullptr;
    QAction* Action_KeepPicture = nullptr;
    QAction* Action_LoadPicture = nullptr;

protected:
    QString HelpPage() const override;
    void WriteCard(TQVL_Card& card) override;

private:
    TQVL_Card_Pic* currentPic() const;
    // Shows the current card's picture file (or the placeholder when it has none).
    void showPicture();
    void endPlacing();
    void setRadiusList(int radius);

    TQVL_Card_Pic_ClickArea* currentArea = nullptr;
    bool placing = false;
};
