#include "content/QVL_Languages.h"

TQVL_Languages::TQVL_Languages()
    : HomeLanguage(std::make_unique<TQVL_Language>()), Names(std::make_unique<TQVL_LanguagesNames>())
{
    Initialize(std::make_unique<TQVL_Provider_Languages>(), QStringLiteral(".qxl"));
}

TQVL_Languages::~TQVL_Languages()
{
    if (Names->IsOpen)
        Names->CloseFile();
}
