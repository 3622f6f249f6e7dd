#include "content/QVL_Card_Sound.h"

#include "core/QVL_System_SoundSystem.h"
#include "core/QVL_XMLTag.h"

namespace {

constexpr int nameCount = 2 + 9;

} // namespace

void TQVL_Card_Sound::LoadFromXML(const TQVL_XMLTag& tag)
{
    QLatin1String names[nameCount] = {QLatin1String("foreign_filename"), QLatin1String("home_filename")};
    std::copy(vocNames, vocNames + vocNameCount, names + 2);
    const TQVL_XMLTag* found[nameCount];
    FindChildren(tag, names, nameCount, found);
    if (found[0])
        foreign_filename = found[0]->Value;
    if (found[1])
        home_filename = found[1]->Value;
    readVoc(found + 2);
}

void TQVL_Card_Sound::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddChild(QStringLiteral("foreign_filename"), foreign_filename);
    tag.AddChild(QStringLiteral("home_filename"), home_filename);
    writeVoc(tag);
}

std::unique_ptr<TQVL_Card> TQVL_Card_Sound::Clone() const
{
    return std::unique_ptr<TQVL_Card>(new TQVL_Card_Sound(*this));
}

int TQVL_Card_Sound::PlayForeign(TQVL_System_SoundSystem* soundSystem) const
{
    return soundSystem ? soundSystem->Play(foreign_filename) : 0;
}

int TQVL_Card_Sound::PlayHome(TQVL_System_SoundSystem* soundSystem) const
{
    return soundSystem ? soundSystem->Play(home_filename) : 0;
}
