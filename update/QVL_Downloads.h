#pragma once

#include <QString>

#include <functional>

class QIODevice;

// The small HTTP client of the update engine: one GET at a time, answered
// synchronously (a local event loop runs while it waits), so it works the
// same on the main thread and in the update thread. Requests carry the user
// agent "Quorvel". Only https is used, except for the loopback addresses.
class TQVL_Downloads
{
public:
    TQVL_Downloads();

    // Writes the answer to `address` into `stream`. Raises "Fehler beim
    // Verbinden zum Server!" with the reason on any failure.
    void Download(const QString& address, QIODevice& stream);
    // Creates (or overwrites) `fileName` with the answer.
    void DownloadToFile(const QString& address, const QString& fileName);
    // Writes the answer into a new temporary file and returns its name.
    QString DownloadToTempFile(const QString& address);

    // Whether `address` may be fetched: https anywhere, http only on the loopback.
    static bool IsAllowedAddress(const QString& address);

    // Bytes received so far; optional.
    std::function<void(qint64 received)> OnProgress;
    // A server that sends nothing for this long is given up.
    int TimeoutMs = 20000;
    // Larger answers are refused: nothing the service sends is this big.
    qint64 MaxBytes = qint64(512) * 1024 * 1024;
};
