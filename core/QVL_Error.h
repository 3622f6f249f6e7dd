#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The one exception class of the engine. Its text is what the learner reads
// (German), or a short English text for programming errors.
class TQVL_Error : public std::exception
{
public:
    explicit TQVL_Error(QString text) : Text(std::move(text)), utf8(Text.toUtf8()) {}

    const QString& Message() const noexcept { return Text; }
    const char* what() const noexcept override { return utf8.constData(); }

    // A context line and the underlying error, joined by a carriage return.
    static TQVL_Error WithCause(const QString& context, const QString& cause)
    {
        return TQVL_Error(context + QLatin1Char('\r') + cause);
    }

private:
    QString Text;
    QByteArray utf8;
};

// The learner's text for a failure that is no engine error (a library's own
// exception): its English text only goes to the log.
inline const QString UnexpectedErrorText = QStringLiteral("Es ist ein unerwarteter Fehler aufgetreten.");

// Raised by number conversions of element values.
class TQVL_ConvertError : public TQVL_Error
{
public:
    using TQVL_Error::TQVL_Error;
};
