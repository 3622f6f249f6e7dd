#pragma once

class TQVL_XMLTag;

// How a typed answer is compared with the card.
class TQVL_Query_Evaluation_Options
{
public:
    void LoadFromXML(const TQVL_XMLTag& tag);
    void SaveToXML(TQVL_XMLTag& tag) const;

    bool ignorecase = false;
    bool allmeaningscorrect = false;
};
