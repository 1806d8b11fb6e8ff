#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QString>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <memory>

// A small HTTP/1.1 server on 127.0.0.1 for tests. It runs on a thread of its own, so a test
// may block its main thread while a child process or the network code talks to it.
// Every answer closes its connection. Unknown paths answer 404.
class TestHttpServer
{
public:
    struct Route
    {
        int status = 200;
        QByteArray body;
        QString filePath;                             // body read from this file when set
        QList<QPair<QByteArray, QByteArray>> headers; // Content-Type and the like
        bool sendContentLength = true;
        QByteArray redirectTo;  // answers `status` (302 unless set otherwise) with Location
        int dripBytes = 0;      // when > 0: the body goes out this many bytes at a time...
        int dripIntervalMs = 0; // ...with this pause between chunks
        bool stall = false;     // accept the request and never answer
        bool endless = false;   // after the body, bytes without end until the client hangs up
        // When >= 0: the connection closes once the body reaches this byte of the whole file,
        // whatever Content-Length promised (a transfer cut short).
        qint64 cutAt = -1;
    };

    struct Request
    {
        QByteArray method;
        QString path; // without the query
        QString query;
        QHash<QByteArray, QByteArray> headers; // names lower-cased
        QList<QByteArray> headerLines;         // every header line as sent, in order
    };

    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer &) = delete;
    TestHttpServer &operator=(const TestHttpServer &) = delete;

    void serve(const QString &path, const Route &route);
    void serveText(const QString &path, const QByteArray &body,
                   const QByteArray &contentType = "text/plain; charset=utf-8", int status = 200);
    void serveFile(const QString &path, const QString &filePath, const QByteArray &contentType);
    void redirect(const QString &path, const QString &target, int status = 302);
    void stall(const QString &path);
    // A body that never ends and announces no length, as a broken mirror might send.
    void streamEndlessly(const QString &path);

    [[nodiscard]] quint16 port() const { return m_port; }
    [[nodiscard]] QString base() const; // "http://127.0.0.1:PORT"
    [[nodiscard]] QUrl url(const QString &path) const;
    [[nodiscard]] QList<Request> requests() const;
    [[nodiscard]] QList<Request> requestsFor(const QString &path) const;
    // Bytes of endless bodies handed to the network so far, for every client together.
    [[nodiscard]] qint64 endlessBytesSent() const { return m_endlessBytesSent; }

private:
    friend class TestHttpConnection;
    Route routeFor(const QString &path) const;
    void record(const Request &request);

    class Worker;
    mutable QMutex m_mutex;
    QHash<QString, Route> m_routes;
    QList<Request> m_requests;
    QThread m_thread;
    Worker *m_worker = nullptr;
    quint16 m_port = 0;
    std::atomic<qint64> m_endlessBytesSent = 0;
};
