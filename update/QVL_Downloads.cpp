#include "update/QVL_Downloads.h"

#include "core/QVL_Error.h"
#include "core/QVL_System.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

const QString connectError = QStringLiteral("Fehler beim Verbinden zum Server!");

QString reasonOf(QNetworkReply& reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("Der Server hat die Verbindung abgelehnt.");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Der Server \"%1\" wurde nicht gefunden.").arg(reply.url().host());
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("Der Server hat die Verbindung unerwartet beendet.");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Die sichere Verbindung zum Server konnte nicht aufgebaut werden.");
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("Der Server hat auf eine unzulässige Adresse weitergeleitet.");
    default:
        break;
    }
    if (status >= 400)
        return QStringLiteral("Der Server antwortete mit dem Status %1.").arg(status);
    return reply.errorString();
}

} // namespace

TQVL_Downloads::TQVL_Downloads() = default;

bool TQVL_Downloads::IsAllowedAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme != QLatin1String("http"))
        return false;
    // Plain http would let anyone on the way change the answer; the tests'
    // local server is the one place it is fine.
    if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress host(url.host());
    return !host.isNull() && host.isLoopback();
}

void TQVL_Downloads::Download(const QString& address, QIODevice& stream)
{
    if (!IsAllowedAddress(address))
        throw TQVL_Error::WithCause(connectError,
                                    QStringLiteral("Die Adresse \"%1\" ist keine sichere Internetadresse (https).")
                                        .arg(address));
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Quorvel"));
    // Every redirect target must pass the same check as the address itself.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));

    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(TimeoutMs);
    bool timedOut = false, tooLarge = false, redirectRefused = false, writeFailed = false;
    qint64 received = 0;

    QObject::connect(&silence, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        if (IsAllowedAddress(target.toString())) {
            emit reply->redirectAllowed();
        } else {
            redirectRefused = true;
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        silence.start();
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (received > MaxBytes) {
            tooLarge = true;
            reply->abort();
            return;
        }
        if (stream.write(chunk) != chunk.size()) {
            writeFailed = true;
            reply->abort();
            return;
        }
        if (OnProgress)
            OnProgress(received);
    });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64, qint64) { silence.start(); });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A background search whose owner is gone stops at once instead of at the time-out.
    bool interrupted = false;
    QTimer watch;
    watch.setInterval(100);
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (QThread::currentThread()->isInterruptionRequested()) {
            interrupted = true;
            reply->abort();
        }
    });
    watch.start();
    silence.start();
    if (!reply->isFinished())
        loop.exec();
    silence.stop();

    QString reason;
    if (interrupted)
        reason = QStringLiteral("Die Suche wurde abgebrochen.");
    else if (timedOut)
        reason = QStringLiteral("Der Server hat nicht rechtzeitig geantwortet.");
    else if (tooLarge)
        reason = QStringLiteral("Die Antwort des Servers ist zu groß.");
    else if (redirectRefused)
        reason = QStringLiteral("Der Server hat auf eine unsichere Adresse weitergeleitet.");
    else if (writeFailed)
        reason = QStringLiteral("Die Antwort konnte nicht gespeichert werden: %1").arg(stream.errorString());
    else if (reply->error() != QNetworkReply::NoError)
        reason = reasonOf(*reply);
    if (!reason.isEmpty())
        throw TQVL_Error::WithCause(connectError, reason);
    // Whatever arrived with the end of the answer.
    const QByteArray rest = reply->readAll();
    if (!rest.isEmpty() && stream.write(rest) != rest.size())
        throw TQVL_Error::WithCause(connectError, QStringLiteral("Die Antwort konnte nicht gespeichert werden: %1")
                                                      .arg(stream.errorString()));
}

void TQVL_Downloads::DownloadToFile(const QString& address, const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht angelegt werden!").arg(fileName));
    Download(address, file);
    if (!file.flush())
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden!").arg(fileName));
}

QString TQVL_Downloads::DownloadToTempFile(const QString& address)
{
    const QString fileName = TQVL_System::TempFileName(QStringLiteral(".bak"));
    try {
        DownloadToFile(address, fileName);
    } catch (...) {
        QFile::remove(fileName);
        throw;
    }
    return fileName;
}
