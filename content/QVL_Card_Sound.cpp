#include "content/QVL_Card_Sound.h"

#include "core/QVL_System_SoundSystem.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The two sound files come first, then the vocabulary part.
constexpr int soundForeignFile = 0;
constexpr int soundHomeFile = 1;
constexpr int soundVocPart = 2;

} // namespace

void TQVL_Card_Sound::LoadFromXML(const TQVL_XMLElement& element)
{
    constexpr int nameCount = soundVocPart + int(vocNameCount);
    QLatin1String names[nameCount] = {"foreign_filename"_L1, "home_filename"_L1};
    std::copy(vocNames, vocNames + vocNameCount, names + soundVocPart);
    TQVL_XMLElement found[nameCount];
    element.FindChildren(names, nameCount, found);
    if (found[soundForeignFile])
        foreign_filename = found[soundForeignFile].Value();
    if (found[soundHomeFile])
        home_filename = found[soundHomeFile].Value();
    readVoc(found + soundVocPart);
}

void TQVL_Card_Sound::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.Text("foreign_filename"_L1, foreign_filename);
    writer.Text("home_filename"_L1, home_filename);
    writeVoc(writer);
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
