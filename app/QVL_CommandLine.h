#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do by its command line.
struct TQVL_CommandLine
{
    enum class TMode { Program, Update, Due };

    // `arguments` as QCoreApplication::arguments() gives them, the program first.
    // "update" as the exact first argument applies a prepared update; "--due"
    // reports the due long-term storage cards ("--notify" alone implies it);
    // otherwise the first argument that is no option names a lesson to open
    // after the login (a path or a file:// URL, made absolute here).
    static TQVL_CommandLine Parse(const QStringList& arguments);

    TMode Mode = TMode::Program;
    bool Notify = false;
    QString LessonFile;
};
