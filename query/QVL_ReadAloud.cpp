#include "query/QVL_ReadAloud.h"

#include "content/QVL_Card_Sound.h"
#include "content/QVL_Unit.h"

#include <QFileInfo>

TQVL_ReadAloud TQVL_ReadAloud::For(const TQVL_Card& card, const TQVL_Unit* unit, bool foreignSide,
                                   const QString& shownText, bool recordings, bool readAloud)
{
    TQVL_ReadAloud result;
    if (const auto* sound = dynamic_cast<const TQVL_Card_Sound*>(&card)) {
        const QString named = foreignSide ? sound->foreign_filename : sound->home_filename;
        if (!named.isEmpty() && unit) {
            const QString file = unit->ExternalFilePath(named);
            if (QFileInfo::exists(file)) {
                // The card's own voice, even when the learner has switched recordings off.
                if (recordings)
                    result.RecordingFile = file;
                return result;
            }
        }
    }
    if (readAloud && !shownText.trimmed().isEmpty()) {
        result.Text = shownText;
        result.LangCode = unit ? (foreignSide ? unit->LangCodeForeign : unit->LangCodeHome) : QString();
    }
    return result;
}
