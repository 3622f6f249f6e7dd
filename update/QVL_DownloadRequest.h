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
    // Larger answers are refused.
    qint64 MaxBytes = 0;
    // Whether a redirect target may be followed.
    std::function<bool(const QString& address)> IsAllowedAddress;
    // Bytes received so far; optional.
    std::function<void(qint64 received)> OnProgress;
};

// The module's only entry point: writes the answer to `request.Stream`, or
// sets `failure` to the reason in German.
extern "C" using TQVL_DownloadFunction = void (*)(const TQVL_DownloadRequest& request, QString& failure);
