#pragma once

#include "ui/shell/Navigator.h"

class TMainForm;

// The main window's navigator: picks the screen class for each destination
// and runs the commands through the main window's actions, so that the menu's
// rights checks apply to a screen's request as well.
class TMainNavigator final : public TNavigator
{
public:
    explicit TMainNavigator(TMainForm& window) : main(window) {}

    TFormMeta* Show(TDestination destination) override;
    void Run(TCommand command) override;
    void CreateUnit(TQVL_CardType kind) override;
    bool CheckUnitSelected() override;
    void ShowNoRight() override;
    void ShowStatus(const QString& text) override;

private:
    TMainForm& main;
};
