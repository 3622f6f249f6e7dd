#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

// A tiny HTTP server on 127.0.0.1 for the update tests, running in the test's
// own thread: it answers GET requests with the bodies of `Files` (by path,
// the query left off), a redirect for `Redirects`, an answer sent piece by
// piece for `Streams`, and 404 otherwise. A silent server accepts connections
// and never answers. Stops when it is destroyed.
class LocalHttpServer : public QObject
{
public:
    LocalHttpServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                sockets << socket;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(*socket); });
            }
        });
    }

    QString Url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path);
    }

    // An answer sent in pieces: `Piece` every `IntervalMs`, `Pieces` times
    // (-1: without end), after a header that announces `AnnouncedLength`
    // bytes (-1: no length; the answer ends when the connection closes).
    struct Stream
    {
        QByteArray Piece;
        int IntervalMs = 0;
        qint64 Pieces = -1;
        qint64 AnnouncedLength = -1;
    };

    // Connections the client has not closed yet.
    int OpenConnections() const
    {
        int open = 0;
        for (const QPointer<QTcpSocket>& socket : sockets)
            open += socket && socket->state() == QAbstractSocket::ConnectedState;
        return open;
    }

    QMap<QString, QByteArray> Files;
    // Path → the address a 302 answer names.
    QMap<QString, QByteArray> Redirects;
    QMap<QString, Stream> Streams;
    // Body bytes sent for `Streams` so far.
    qint64 Streamed = 0;
    // Every request target, in order ("/path?query").
    QStringList Requests;
    QByteArray LastUserAgent;
    bool Silent = false;

private:
    void serve(QTcpSocket& socket)
    {
        QByteArray& buffer = pending[&socket];
        buffer += socket.readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0 || Silent)
            return;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
        const QString target = QString::fromUtf8(request.value(1));
        Requests << target;
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("user-agent:"))
                LastUserAgent = line.mid(11).trimmed();
        const QString path = target.section(QLatin1Char('?'), 0, 0);
        pending.remove(&socket);
        if (Redirects.contains(path)) {
            socket.write("HTTP/1.1 302 Found\r\nLocation: " + Redirects.value(path) +
                         "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket.disconnectFromHost();
            return;
        }
        if (Streams.contains(path)) {
            stream(socket, Streams.value(path));
            return;
        }
        const bool found = Files.contains(path);
        const QByteArray body = found ? Files.value(path) : QByteArray("nicht gefunden");
        QByteArray answer = found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
        answer += "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        socket.write(answer);
        socket.disconnectFromHost();
    }

    void stream(QTcpSocket& socket, const Stream& how)
    {
        QByteArray header = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
        if (how.AnnouncedLength >= 0)
            header += "Content-Length: " + QByteArray::number(how.AnnouncedLength) + "\r\n";
        socket.write(header + "\r\n");
        auto* timer = new QTimer(&socket);
        auto sent = std::make_shared<qint64>(0);
        connect(timer, &QTimer::timeout, &socket, [this, &socket, timer, how, sent] {
            // Never more than a little ahead of the client, however fast the timer runs.
            if (socket.state() != QAbstractSocket::ConnectedState || socket.bytesToWrite() > 4 * how.Piece.size())
                return;
            if (how.Pieces >= 0 && *sent >= how.Pieces) {
                timer->stop();
                return;
            }
            socket.write(how.Piece);
            Streamed += how.Piece.size();
            ++*sent;
        });
        timer->start(how.IntervalMs);
    }

    QTcpServer server;
    QList<QPointer<QTcpSocket>> sockets;
    QMap<QTcpSocket*, QByteArray> pending;
};
