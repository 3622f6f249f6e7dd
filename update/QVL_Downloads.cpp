#include "update/QVL_Downloads.h"

#include "core/QVL_Error.h"
#include "core/QVL_LateLibrary.h"
#include "core/QVL_System.h"
#include "update/QVL_DownloadRequest.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QUrl>

#include <mutex>

namespace {

const QString connectError = QStringLiteral("Fehler beim Verbinden zum Server!");

// The loopback addresses as QUrl writes a host: 127.0.0.0/8, ::1 and ::ffff:127.x.x.x.
bool isLoopback(QString host)
{
    if (host == QLatin1String("::1"))
        return true;
    const QLatin1String mappedPrefix("::ffff:");
    if (host.startsWith(mappedPrefix, Qt::CaseInsensitive))
        host = host.mid(mappedPrefix.size());
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        bool number = false;
        const int value = part.toInt(&number);
        if (!number || value < 0 || value > 255 || part.startsWith(QLatin1Char('+')))
            return false;
    }
    return parts.first().toInt() == 127;
}

// Loaded once and kept: the network libraries cannot be unloaded safely.
TQVL_DownloadFunction downloadFunction()
{
    // The update thread and the main thread may both download.
    static std::mutex loading;
    static void* module = nullptr;
    const std::lock_guard lock(loading);
    QString error;
    if (!module) {
        const QString file =
            TQVL_System::ModuleFileOf(QCoreApplication::applicationDirPath(), QStringLiteral("downloads.so"));
        module = TQVL_LateLibrary::Open(file, &error);
        if (!module)
            throw TQVL_Error::WithCause(connectError,
                                        QStringLiteral("Das Programmmodul \"%1\" konnte nicht geladen werden: %2")
                                            .arg(file, error));
    }
    TQVL_DownloadFunction function = nullptr;
    if (!TQVL_LateLibrary::Bind(module, function, "quorvel_download", &error))
        throw TQVL_Error::WithCause(connectError, error);
    return function;
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
    return isLoopback(url.host());
}

void TQVL_Downloads::Download(const QString& address, QIODevice& stream)
{
    if (!IsAllowedAddress(address))
        throw TQVL_Error::WithCause(connectError,
                                    QStringLiteral("Die Adresse \"%1\" ist keine sichere Internetadresse (https).")
                                        .arg(address));
    TQVL_DownloadRequest request;
    request.Address = address;
    request.Stream = &stream;
    request.TimeoutMs = TimeoutMs;
    request.DeadlineMs = DeadlineMs;
    request.MaxBytes = MaxBytes;
    request.IsCancelled = IsCancelled;
    request.IsAllowedAddress = &TQVL_Downloads::IsAllowedAddress;
    request.OnProgress = OnProgress;
    QString failure;
    downloadFunction()(request, failure);
    if (!failure.isEmpty())
        throw TQVL_Error::WithCause(connectError, failure);
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
