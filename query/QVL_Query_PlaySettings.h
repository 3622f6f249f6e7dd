#pragma once

#include "content/QVL_Card_Type.h"

class TQVL_Query_Options;

// The four ways of playing the cards back that the play menu offers.
enum class TQVL_PlayForm
{
    Together = 0,        // "Übereinander": question and answer at once
    OneAfterAnother = 1, // "Nacheinander"
    PseudoQuery = 2,     // "Pseudo-Abfrage": the learner judges himself
    MultipleUnits = 3,   // "Mehrere Lektionen": as OneAfterAnother over several units
};

// The display times of the program options' play section, in milliseconds.
struct TQVL_PlayIntervals
{
    int Both = 0;
    int SeriesQuestion = 0;
    int SeriesAnswer = 0;
};

// The query options of a play run. Play has no engine of its own: it runs the
// query with these settings, which store nothing and ask for no input.
namespace TQVL_Query_PlaySettings {

// What the play menu sets when it is shown, for the active unit's kind.
void ApplyMenuDefaults(TQVL_Query_Options& options, TQVL_CardType unitType);
// What choosing `form` sets on top; grammar units get twice the times.
void ApplyForm(TQVL_Query_Options& options, TQVL_PlayForm form, const TQVL_PlayIntervals& intervals,
               TQVL_CardType unitType);

} // namespace TQVL_Query_PlaySettings
