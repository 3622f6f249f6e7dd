#include "app/QVL_CommandLine.h"

#include <QFileInfo>
#include <QUrl>

TQVL_CommandLine TQVL_CommandLine::Parse(const QStringList& arguments)
{
    TQVL_CommandLine result;
    if (arguments.size() > 1 && arguments.at(1) == QLatin1String("update")) {
        result.Mode = TMode::Update;
        return result;
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--due")) {
            result.Mode = TMode::Due;
        } else if (argument == QLatin1String("--notify")) {
            result.Mode = TMode::Due;
            result.Notify = true;
        } else if (argument.startsWith(QLatin1Char('-'))) {
            continue; // Qt's own options (-platform, -style …) are not ours
        } else if (result.LessonFile.isEmpty()) {
            // A file manager may hand over a URL instead of a path.
            const QString path = argument.startsWith(QLatin1String("file:")) ? QUrl(argument).toLocalFile() : argument;
            if (!path.isEmpty())
                result.LessonFile = QFileInfo(path).absoluteFilePath();
        }
    }
    return result;
}
