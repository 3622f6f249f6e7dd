#include "content/QVL_Provider_Item_Custom.h"

TQVL_Provider_Item_Custom::~TQVL_Provider_Item_Custom() = default;

TQVL_Provider_Item_Custom* TQVL_Provider_Item_Custom::AddChild(std::unique_ptr<TQVL_Provider_Item_Custom> child)
{
    child->Parent = this;
    children.push_back(std::move(child));
    return children.back().get();
}
