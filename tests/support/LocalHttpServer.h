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

// A tiny HTTP server on 127.0.0.1 for the update tests, running in the test's
// own thread: it answers GET requests with the bodies of `Files` (by path,
// the query left off) and 404 otherwise. A silent server accepts connections
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

    QMap<QString, QByteArray> Files;
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
        const bool found = Files.contains(path);
        const QByteArray body = found ? Files.value(path) : QByteArray("nicht gefunden");
        QByteArray answer = found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
        answer += "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        socket.write(answer);
        socket.disconnectFromHost();
        pending.remove(&socket);
    }

    QTcpServer server;
    QList<QPointer<QTcpSocket>> sockets;
    QMap<QTcpSocket*, QByteArray> pending;
};
