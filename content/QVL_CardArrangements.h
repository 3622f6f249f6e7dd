#pragma once

#include "content/QVL_CardArrangement.h"
#include "content/QVL_Manager.h"
#include "content/QVL_Provider_CardArrangements.h"

// The card arrangement (grammar template) of the active grammar unit and the
// list of installed arrangements.
class TQVL_CardArrangements : public TQVL_Manager
{
public:
    TQVL_CardArrangements()
    {
        Initialize(std::make_unique<TQVL_Provider_CardArrangements>(), QStringLiteral(".qxa"));
    }

    TQVL_CardArrangement& GetActiveArrangement() const
    {
        return activeAs<TQVL_CardArrangement>("no active CardArrangement");
    }
    TQVL_Provider_CardArrangements& Arrangements() const
    {
        return static_cast<TQVL_Provider_CardArrangements&>(Provider());
    }

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<TQVL_CardArrangement>(); }
};
