#include "TestHttpServer.h"

#include <QFile>
#include <QMutexLocker>
#include <QPointer>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// One accepted connection: reads the request head, then answers from the route table.
class TestHttpConnection : public QObject
{
public:
    TestHttpConnection(QTcpSocket *socket, TestHttpServer *server)
        : QObject(socket)
        , m_socket(socket)
        , m_server(server)
    {
        connect(socket, &QTcpSocket::readyRead, this, [this] { readHead(); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    void readHead()
    {
        if (m_answered)
            return;
        m_head += m_socket->readAll();
        const qsizetype end = m_head.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        m_answered = true;

        const QList<QByteArray> lines = m_head.left(end).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        TestHttpServer::Request request;
        request.method = requestLine.value(0);
        const QByteArray target = requestLine.value(1);
        const qsizetype question = target.indexOf('?');
        request.path = QString::fromUtf8(question < 0 ? target : target.left(question));
        request.query = question < 0 ? QString() : QString::fromUtf8(target.mid(question + 1));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0) {
                request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
                request.headerLines.append(lines[i].trimmed());
            }
        }
        m_server->record(request);
        answer(request, m_server->routeFor(request.path));
    }

    void answer(const TestHttpServer::Request &request, const TestHttpServer::Route &route)
    {
        if (route.stall)
            return;
        QByteArray body = route.body;
        if (!route.filePath.isEmpty()) {
            QFile file(route.filePath);
            body = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
        int status = route.status;
        qint64 offset = 0; // of the body's first byte in the whole file
        QList<QPair<QByteArray, QByteArray>> headers = route.headers;
        if (!route.redirectTo.isEmpty()) {
            headers.append({"Location", route.redirectTo});
            body.clear();
        }

        // Byte ranges, so resumed downloads can be served.
        static const QRegularExpression rangePattern(QStringLiteral("^bytes=(\\d+)-(\\d*)$"));
        const auto range = rangePattern.match(QString::fromLatin1(request.headers.value("range")));
        if (status == 200 && range.hasMatch()) {
            const qint64 total = body.size();
            const qint64 first = range.captured(1).toLongLong();
            const qint64 last =
                range.captured(2).isEmpty() ? total - 1 : std::min(total - 1, range.captured(2).toLongLong());
            if (first >= total) {
                status = 416;
                headers.append({"Content-Range", "bytes */" + QByteArray::number(total)});
                body.clear();
            } else {
                status = 206;
                headers.append({"Content-Range", "bytes " + QByteArray::number(first) + '-' + QByteArray::number(last) +
                                                     '/' + QByteArray::number(total)});
                body = body.mid(first, last - first + 1);
                offset = first;
            }
        }

        QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
        for (const auto &[name, value] : headers)
            head += name + ": " + value + "\r\n";
        if (route.sendContentLength)
            head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        head += "Accept-Ranges: bytes\r\nConnection: close\r\n\r\n";
        m_socket->write(head);
        if (request.method == "HEAD")
            body.clear();
        if (route.cutAt >= 0)
            body.truncate(std::max<qint64>(0, route.cutAt - offset));

        if (route.endless) {
            m_socket->write(body);
            // Refilled as the client takes it, so the server holds little however long it runs.
            connect(m_socket, &QTcpSocket::bytesWritten, this, [this](qint64 bytes) {
                m_server->m_endlessBytesSent += bytes;
                if (m_socket->bytesToWrite() < endlessChunk)
                    m_socket->write(QByteArray(endlessChunk, 'x'));
            });
            m_socket->write(QByteArray(endlessChunk, 'x'));
            return;
        }
        if (route.dripBytes <= 0) {
            m_socket->write(body);
            m_socket->disconnectFromHost();
            return;
        }
        m_pending = body;
        auto *timer = new QTimer(this);
        timer->setInterval(route.dripIntervalMs);
        connect(timer, &QTimer::timeout, this, [this, timer, chunk = route.dripBytes] {
            if (m_socket->state() != QAbstractSocket::ConnectedState) {
                timer->stop();
                return;
            }
            m_socket->write(m_pending.left(chunk));
            m_pending.remove(0, chunk);
            if (m_pending.isEmpty()) {
                timer->stop();
                m_socket->disconnectFromHost();
            }
        });
        timer->start();
    }

    static QByteArray reason(int status)
    {
        switch (status) {
        case 200: return "OK";
        case 206: return "Partial Content";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 416: return "Range Not Satisfiable";
        case 500: return "Internal Server Error";
        default: return "Status";
        }
    }

    static constexpr int endlessChunk = 64 * 1024;

    QTcpSocket *m_socket;
    TestHttpServer *m_server;
    QByteArray m_head;
    QByteArray m_pending;
    bool m_answered = false;
};

class TestHttpServer::Worker : public QObject
{
public:
    explicit Worker(TestHttpServer *server)
        : m_server(server)
    {}

    quint16 listen()
    {
        m_tcp = new QTcpServer(this);
        connect(m_tcp, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_tcp->nextPendingConnection())
                new TestHttpConnection(socket, m_server);
        });
        m_tcp->listen(QHostAddress::LocalHost, 0);
        return m_tcp->serverPort();
    }

private:
    TestHttpServer *m_server;
    QTcpServer *m_tcp = nullptr;
};

TestHttpServer::TestHttpServer()
{
    m_worker = new Worker(this);
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    QSemaphore ready;
    QMetaObject::invokeMethod(m_worker, [this, &ready] {
        m_port = m_worker->listen();
        ready.release();
    });
    ready.acquire();
}

TestHttpServer::~TestHttpServer()
{
    m_thread.quit();
    m_thread.wait();
}

void TestHttpServer::serve(const QString &path, const Route &route)
{
    QMutexLocker lock(&m_mutex);
    m_routes.insert(path, route);
}

void TestHttpServer::serveText(const QString &path, const QByteArray &body, const QByteArray &contentType, int status)
{
    Route route;
    route.status = status;
    route.body = body;
    route.headers.append({"Content-Type", contentType});
    serve(path, route);
}

void TestHttpServer::serveFile(const QString &path, const QString &filePath, const QByteArray &contentType)
{
    Route route;
    route.filePath = filePath;
    route.headers.append({"Content-Type", contentType});
    serve(path, route);
}

void TestHttpServer::redirect(const QString &path, const QString &target, int status)
{
    Route route;
    route.status = status;
    route.redirectTo = target.toUtf8();
    serve(path, route);
}

void TestHttpServer::stall(const QString &path)
{
    Route route;
    route.stall = true;
    serve(path, route);
}

void TestHttpServer::streamEndlessly(const QString &path)
{
    Route route;
    route.endless = true;
    route.sendContentLength = false;
    route.headers.append({QByteArray("Content-Type"), QByteArray("application/octet-stream")});
    serve(path, route);
}

QString TestHttpServer::base() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QUrl TestHttpServer::url(const QString &path) const
{
    return QUrl(base() + path);
}

QList<TestHttpServer::Request> TestHttpServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

QList<TestHttpServer::Request> TestHttpServer::requestsFor(const QString &path) const
{
    QList<Request> matching;
    for (const Request &request : requests()) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

TestHttpServer::Route TestHttpServer::routeFor(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    const auto found = m_routes.constFind(path);
    if (found != m_routes.cend())
        return *found;
    Route missing;
    missing.status = 404;
    missing.body = "Not Found";
    return missing;
}

void TestHttpServer::record(const Request &request)
{
    QMutexLocker lock(&m_mutex);
    m_requests.append(request);
}
