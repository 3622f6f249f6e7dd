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
    // Asked a few times a second while a download runs (from the downloading
    // thread); true ends it with "Der Download wurde abgebrochen."
    std::function<bool()> IsCancelled;
    // A server that sends nothing for this long is given up.
    int TimeoutMs = DefaultTimeoutMs;
    // The whole answer must have arrived within this time.
    int DeadlineMs = PackageDeadlineMs;
    // Larger answers are refused while they arrive.
    qint64 MaxBytes = MaxPackageBytes;

    static constexpr int DefaultTimeoutMs = 20000;
    // A package of the largest size still arrives over a slow line (about 300 kB/s).
    static constexpr int PackageDeadlineMs = 30 * 60 * 1000;
    // Nothing the service sends is this big: a package is a few tens of megabytes.
    static constexpr qint64 MaxPackageBytes = qint64(512) * 1024 * 1024;
    // The version information and the update list are a few kilobytes; read
    // whole and parsed, a larger answer would cost many times its size in memory.
    static constexpr qint64 MaxListBytes = 1024 * 1024;
    // A list that takes longer than this is not worth waiting for.
    static constexpr int ListDeadlineMs = 60 * 1000;
};
