#include "content/QVL_Card_Sound.h"

#include "core/QVL_System_SoundSystem.h"
#include "core/QVL_XMLTag.h"

namespace {

// The two sound files come first, then the vocabulary part.
constexpr int soundForeignFile = 0;
constexpr int soundHomeFile = 1;
constexpr int soundVocPart = 2;

} // namespace

void TQVL_Card_Sound::LoadFromXML(const TQVL_XMLTag& tag)
{
    constexpr int nameCount = soundVocPart + int(vocNameCount);
    QLatin1String names[nameCount] = {QLatin1String("foreign_filename"), QLatin1String("home_filename")};
    std::copy(vocNames, vocNames + vocNameCount, names + soundVocPart);
    const TQVL_XMLTag* found[nameCount];
    FindChildren(tag, names, nameCount, found);
    if (found[soundForeignFile])
        foreign_filename = found[soundForeignFile]->Value;
    if (found[soundHomeFile])
        home_filename = found[soundHomeFile]->Value;
    readVoc(found + soundVocPart);
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
