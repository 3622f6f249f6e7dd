#pragma once

#include "content/QVL_Manager.h"
#include "content/QVL_Provider_Units.h"
#include "content/QVL_Unit.h"

// The active unit of the program and the list of unit files.
class TQVL_Units : public TQVL_Manager
{
public:
    TQVL_Units() { Initialize(std::make_unique<TQVL_Provider_Units>(), QStringLiteral(".qxu")); }

    TQVL_Unit& GetActiveUnit() const { return activeAs<TQVL_Unit>("no active Unit"); }
    TQVL_Provider_Units& Units() const { return static_cast<TQVL_Provider_Units&>(Provider()); }

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<TQVL_Unit>(); }
};
