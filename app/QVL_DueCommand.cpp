#include "app/QVL_DueCommand.h"

#include "app/QVL.h"
#include "app/QVL_DesktopNotification.h"
#include "app/QVL_DueReport.h"
#include "core/QVL_Error.h"

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

namespace TQVL_DueCommand {

int Run(bool notify, std::FILE* out, std::FILE* err)
{
    TQVL core;
    TQVL_DueReport report;
    try {
        report.Collect(core, TQVL_DateTime::Now());
    } catch (const TQVL_Error& error) {
        // The stored texts join a context and its cause with a lone CR.
        print(err, QString(error.Message()).replace(QLatin1Char('\r'), QLatin1Char('\n')));
        core.CloseFiles();
        return 1;
    }
    core.CloseFiles();
    for (const QString& error : report.Errors)
        print(err, QString(error).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    QStringList lines = report.Lines();
    if (lines.isEmpty())
        lines << QStringLiteral("Kein Benutzerprofil ohne Passwort gefunden.");
    int status = report.Errors.isEmpty() ? 0 : 1;
    if (notify) {
        QString error;
        if (TQVL_DesktopNotification::Send(QStringLiteral("Heute abzufragen"), lines.join(QLatin1Char('\n')), error))
            return status;
        print(err, QStringLiteral("Keine Benachrichtigung gesendet: ") + error);
        status = 1;
    }
    for (const QString& line : lines)
        print(out, line);
    return status;
}

} // namespace TQVL_DueCommand
