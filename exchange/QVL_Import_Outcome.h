#pragma once

#include <QString>

// What became of one file of an import.
struct TQVL_Import_Outcome
{
    QString File;
    QString Unit; // the written unit; empty when it failed
    int Cards = 0;
    QString Error; // the German message; empty when the unit was written
};
