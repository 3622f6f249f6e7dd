#pragma once

#include <QString>

#include <functional>

class QIODevice;

// One GET, as the program hands it to the download module
// (update/downloads/, loaded on the first download so that the network
// libraries are not loaded and bound at every start).
struct TQVL_DownloadRequest
{
    QString Address;
    QIODevice* Stream = nullptr;
    // A server that sends nothing for this long is given up.
    int TimeoutMs = 0;
    // The whole answer must have arrived within this time, however steadily it trickles in.
    int DeadlineMs = 0;
    // Larger answers are refused, as soon as their announced length or the bytes received pass it.
    qint64 MaxBytes = 0;
    // Whether a redirect target may be followed.
    std::function<bool(const QString& address)> IsAllowedAddress;
    // Bytes received so far; optional.
    std::function<void(qint64 received)> OnProgress;
    // Asked a few times a second from the downloading thread; true ends the request. Optional.
    std::function<bool()> IsCancelled;
};

// The module's only entry point: writes the answer to `request.Stream`, or
// sets `failure` to the reason in German.
extern "C" using TQVL_DownloadFunction = void (*)(const TQVL_DownloadRequest& request, QString& failure);
