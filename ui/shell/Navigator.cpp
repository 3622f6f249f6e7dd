#include "ui/shell/Navigator.h"

namespace {

class TNowhere final : public TNavigator
{
public:
    TFormMeta* Show(TDestination) override { return nullptr; }
    void Run(TCommand) override {}
    void CreateUnit(TQVL_CardType) override {}
    bool CheckUnitSelected() override { return false; }
    void ShowNoRight() override {}
    void ShowStatus(const QString&) override {}
};

} // namespace

TNavigator& TNavigator::Nowhere()
{
    static TNowhere nowhere;
    return nowhere;
}
