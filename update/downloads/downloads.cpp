// The update engine's HTTP client, a module of its own: the network libraries
// (with Kerberos and the proxy resolver) are loaded when the first download
// starts, not with the program.
#include "update/QVL_DownloadRequest.h"

#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

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

QString download(const TQVL_DownloadRequest& request)
{
    QIODevice& stream = *request.Stream;
    QNetworkAccessManager manager;
    QNetworkRequest get{QUrl(request.Address)};
    get.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Quorvel"));
    // Every redirect target must pass the same check as the address itself.
    get.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    get.setMaximumRedirectsAllowed(5);
    std::unique_ptr<QNetworkReply> reply(manager.get(get));

    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(request.TimeoutMs);
    bool timedOut = false, tooLarge = false, redirectRefused = false, writeFailed = false;
    qint64 received = 0;

    QObject::connect(&silence, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        if (request.IsAllowedAddress && request.IsAllowedAddress(target.toString())) {
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
        if (received > request.MaxBytes) {
            tooLarge = true;
            reply->abort();
            return;
        }
        if (stream.write(chunk) != chunk.size()) {
            writeFailed = true;
            reply->abort();
            return;
        }
        if (request.OnProgress)
            request.OnProgress(received);
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

    if (interrupted)
        return QStringLiteral("Die Suche wurde abgebrochen.");
    if (timedOut)
        return QStringLiteral("Der Server hat nicht rechtzeitig geantwortet.");
    if (tooLarge)
        return QStringLiteral("Die Antwort des Servers ist zu groß.");
    if (redirectRefused)
        return QStringLiteral("Der Server hat auf eine unsichere Adresse weitergeleitet.");
    if (writeFailed)
        return QStringLiteral("Die Antwort konnte nicht gespeichert werden: %1").arg(stream.errorString());
    if (reply->error() != QNetworkReply::NoError)
        return reasonOf(*reply);
    // Whatever arrived with the end of the answer.
    const QByteArray rest = reply->readAll();
    if (!rest.isEmpty() && stream.write(rest) != rest.size())
        return QStringLiteral("Die Antwort konnte nicht gespeichert werden: %1").arg(stream.errorString());
    return QString();
}

} // namespace

extern "C" __attribute__((visibility("default"))) void quorvel_download(const TQVL_DownloadRequest& request,
                                                                         QString& failure)
{
    try {
        failure = download(request);
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
}
