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

// Qt keeps at most this much of an answer that has arrived but is not read
// yet; without a limit its network thread buffers whatever the server sends,
// however slowly the answer is written to its file.
constexpr qint64 replyBufferBytes = 256 * 1024;
// One piece read from the reply and written to the stream at a time.
constexpr qint64 pieceBytes = 64 * 1024;
// How often cancel and thread interruption are looked at: a cancelled request
// ends within this time, and the check costs nothing worth mentioning.
constexpr int cancelPollMs = 50;
// Redirects followed at most; the service needs one or two.
constexpr int maxRedirects = 5;

// Every failure in German: Qt's own texts are English and name Qt's internals.
QString reasonOf(const QNetworkReply& reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("Der Server hat die Verbindung abgelehnt.");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Der Server \"%1\" wurde nicht gefunden.").arg(reply.url().host());
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("Der Server hat die Verbindung unerwartet beendet.");
    case QNetworkReply::TimeoutError:
        return QStringLiteral("Die Verbindung zum Server hat zu lange gedauert.");
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("Die Verbindung zum Server wurde abgebrochen.");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Die sichere Verbindung zum Server konnte nicht aufgebaut werden.");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QStringLiteral("Das Netzwerk ist zurzeit nicht erreichbar.");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("Der Server hat zu oft weitergeleitet.");
    // A redirect to another protocol (file:, ftp:) ends as an unknown protocol:
    // only http and https are ever asked for.
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("Der Server hat auf eine unzulässige Adresse weitergeleitet.");
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QStringLiteral("Der Proxy-Server verlangt eine Anmeldung.");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::UnknownProxyError:
        return QStringLiteral("Der Proxy-Server ist nicht erreichbar.");
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::ProtocolFailure:
        if (status < 400)
            return QStringLiteral("Der Server hat eine ungültige Antwort gesendet.");
        break;
    default:
        break;
    }
    if (status >= 400)
        return QStringLiteral("Der Server antwortete mit dem Status %1.").arg(status);
    return QStringLiteral("Die Verbindung zum Server ist fehlgeschlagen (Fehler %1).").arg(int(reply.error()));
}

QString download(const TQVL_DownloadRequest& request)
{
    QIODevice& stream = *request.Stream;
    QNetworkAccessManager manager;
    QNetworkRequest get{QUrl(request.Address)};
    get.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Quorvel"));
    // Every redirect target must pass the same check as the address itself.
    get.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    get.setMaximumRedirectsAllowed(maxRedirects);
    std::unique_ptr<QNetworkReply> reply(manager.get(get));
    reply->setReadBufferSize(replyBufferBytes);

    enum class Stop
    {
        None,
        Silence,
        Deadline,
        TooLarge,
        RedirectRefused,
        WriteFailed,
        Cancelled,
        Interrupted
    };
    Stop stop = Stop::None;
    const auto abortWith = [&](Stop reason) {
        if (stop == Stop::None)
            stop = reason;
        reply->abort();
    };

    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(request.TimeoutMs);
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] { abortWith(Stop::Silence); });
    // The silence time-out restarts with every byte; this one does not.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] { abortWith(Stop::Deadline); });

    QObject::connect(reply.get(), &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        if (request.IsAllowedAddress && request.IsAllowedAddress(target.toString()))
            emit reply->redirectAllowed();
        else
            abortWith(Stop::RedirectRefused);
    });
    // An announced length above the limit is refused before its first byte.
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > request.MaxBytes)
            abortWith(Stop::TooLarge);
    });
    qint64 received = 0;
    QByteArray piece(pieceBytes, Qt::Uninitialized);
    // Reads what has arrived in pieces into the stream; false once the request is stopped.
    const auto drain = [&] {
        while (stop == Stop::None && reply->bytesAvailable() > 0) {
            const qint64 got = reply->read(piece.data(), pieceBytes);
            if (got <= 0)
                break;
            if (got > request.MaxBytes - received) {
                abortWith(Stop::TooLarge);
                return false;
            }
            received += got;
            if (stream.write(piece.constData(), got) != got) {
                abortWith(Stop::WriteFailed);
                return false;
            }
            if (request.OnProgress)
                request.OnProgress(received);
        }
        return stop == Stop::None;
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        silence.start();
        drain();
    });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64 arrived, qint64 total) {
        silence.start();
        if (total > request.MaxBytes || arrived > request.MaxBytes)
            abortWith(Stop::TooLarge);
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A cancel from the dialog, or a background search whose owner is gone,
    // ends the request at once instead of at a time-out.
    QTimer watch;
    watch.setInterval(cancelPollMs);
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (QThread::currentThread()->isInterruptionRequested())
            abortWith(Stop::Interrupted);
        else if (request.IsCancelled && request.IsCancelled())
            abortWith(Stop::Cancelled);
    });
    watch.start();
    silence.start();
    if (request.DeadlineMs > 0)
        deadline.start(request.DeadlineMs);
    if (!reply->isFinished())
        loop.exec();
    silence.stop();
    deadline.stop();
    watch.stop();
    // Whatever arrived with the end of the answer.
    if (stop == Stop::None && reply->error() == QNetworkReply::NoError)
        drain();

    switch (stop) {
    case Stop::Interrupted:
        return QStringLiteral("Die Suche wurde abgebrochen.");
    case Stop::Cancelled:
        return QStringLiteral("Der Download wurde abgebrochen.");
    case Stop::Silence:
        return QStringLiteral("Der Server hat nicht rechtzeitig geantwortet.");
    case Stop::Deadline: {
        const int seconds = (request.DeadlineMs + 999) / 1000;
        return QStringLiteral("Der Server hat die Antwort nicht innerhalb von %1 vollständig gesendet.")
            .arg(seconds == 1 ? QStringLiteral("einer Sekunde") : QStringLiteral("%1 Sekunden").arg(seconds));
    }
    case Stop::TooLarge:
        return QStringLiteral("Die Antwort des Servers ist zu groß.");
    case Stop::RedirectRefused:
        return QStringLiteral("Der Server hat auf eine unzulässige Adresse weitergeleitet.");
    case Stop::WriteFailed:
        return QStringLiteral("Die Antwort konnte nicht gespeichert werden.");
    case Stop::None:
        break;
    }
    if (reply->error() != QNetworkReply::NoError)
        return reasonOf(*reply);
    return QString();
}

} // namespace

extern "C" __attribute__((visibility("default"))) void quorvel_download(const TQVL_DownloadRequest& request,
                                                                         QString& failure)
{
    try {
        failure = download(request);
    } catch (const std::bad_alloc&) {
        failure = QStringLiteral("Für die Antwort des Servers reicht der Arbeitsspeicher nicht.");
    } catch (const std::exception&) {
        failure = QStringLiteral("Beim Herunterladen ist ein unerwarteter Fehler aufgetreten.");
    }
}
