#include "tools/FileDownloader.h"

#include "TestHttpServer.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray payload(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

} // namespace

class TestFileDownloader : public QObject
{
    Q_OBJECT

    struct Outcome
    {
        std::optional<ToolError> error;
        QList<double> progress;
    };

    Outcome fetch(const QUrl &url, std::chrono::milliseconds idleTimeout = std::chrono::seconds(60),
                  CancelToken cancel = CancelToken(), qint64 sizeLimit = FileDownloader::defaultSizeLimit)
    {
        FileDownloader downloader(&m_network);
        downloader.setIdleTimeout(idleTimeout);
        downloader.setSizeLimit(sizeLimit);
        Outcome outcome;
        outcome.error = QCoro::waitFor(downloader.download(
            url, destination(), [&outcome](double f) { outcome.progress.append(f); }, cancel));
        return outcome;
    }

    QString destination() const { return m_folder->filePath(QStringLiteral("tool")); }

    // QSaveFile's partial files must not pile up beside the destination.
    void expectOnlyDestinationOrNothing()
    {
        const QStringList entries = QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QVERIFY2(entries.isEmpty() || entries == QStringList{QStringLiteral("tool")}, qPrintable(entries.join(u',')));
    }

    QNetworkAccessManager m_network;
    std::unique_ptr<QTemporaryDir> m_folder;

private Q_SLOTS:
    void init() { m_folder = std::make_unique<QTemporaryDir>(); }
    void cleanup() { qunsetenv("MORVANE_TOOL_MIRROR"); }

    void downloadsWithRisingProgressAndUserAgent()
    {
        TestHttpServer server;
        const QByteArray body = payload(300000);
        TestHttpServer::Route route;
        route.body = body;
        route.dripBytes = 30000;
        route.dripIntervalMs = 15;
        server.serve(QStringLiteral("/yt-dlp"), route);
        writeFile(destination(), "old copy");

        const Outcome outcome = fetch(server.url(QStringLiteral("/yt-dlp")));
        QVERIFY2(!outcome.error, qPrintable(outcome.error ? outcome.error->message : QString()));
        QCOMPARE(readFile(destination()), body);
        QVERIFY(outcome.progress.size() > 1);
        QCOMPARE(outcome.progress.last(), 1.0);
        for (qsizetype i = 1; i < outcome.progress.size(); ++i)
            QVERIFY(outcome.progress[i] >= outcome.progress[i - 1]);
        QVERIFY(outcome.progress.first() < 1.0);
        const auto requests = server.requestsFor(QStringLiteral("/yt-dlp"));
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().headers.value("user-agent"), QByteArray("Morvane/1.0"));
        expectOnlyDestinationOrNothing();
    }

    void failedStatusLeavesExistingFile_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("404") << 404;
        QTest::newRow("403") << 403;
        QTest::newRow("500") << 500;
    }

    void failedStatusLeavesExistingFile()
    {
        QFETCH(int, status);
        TestHttpServer server;
        server.serveText(QStringLiteral("/missing"), "<html>error page with a body</html>", "text/html", status);
        writeFile(destination(), "working tool");

        const Outcome outcome = fetch(server.url(QStringLiteral("/missing")));
        QVERIFY(outcome.error);
        QCOMPARE(*outcome.error,
                 (ToolError{QStringLiteral("Download"), status, QStringLiteral("HTTP %1").arg(status)}));
        QVERIFY(outcome.progress.isEmpty());
        QCOMPARE(readFile(destination()), QByteArray("working tool"));
        expectOnlyDestinationOrNothing();
    }

    // A body past the limit is stopped, whether it streams without end or announces its size;
    // the file already there stays as it was. A body of exactly the limit is fine.
    void sizeLimit_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("refused");
        QTest::newRow("endless, no length") << QStringLiteral("endless") << true;
        QTest::newRow("endless after a redirect") << QStringLiteral("redirect") << true;
        QTest::newRow("announced past the limit") << QStringLiteral("announced") << true;
        QTest::newRow("unannounced past the limit") << QStringLiteral("unannounced") << true;
        QTest::newRow("exactly the limit") << QStringLiteral("exact") << false;
    }

    void sizeLimit()
    {
        QFETCH(QString, kind);
        QFETCH(bool, refused);
        constexpr qint64 limit = 256 * 1024;
        TestHttpServer server;
        server.streamEndlessly(QStringLiteral("/endless"));
        server.redirect(QStringLiteral("/redirect"), server.base() + QStringLiteral("/endless"));
        TestHttpServer::Route route;
        route.body = payload(kind == QStringLiteral("exact") ? limit : limit + 1);
        route.sendContentLength = kind != QStringLiteral("unannounced");
        server.serve(QStringLiteral("/announced"), route);
        server.serve(QStringLiteral("/unannounced"), route);
        server.serve(QStringLiteral("/exact"), route);
        writeFile(destination(), "working tool");

        const Outcome outcome =
            fetch(server.url(QLatin1Char('/') + kind), std::chrono::seconds(60), CancelToken(), limit);
        if (refused) {
            QVERIFY(outcome.error);
            QCOMPARE(*outcome.error, (ToolError{QStringLiteral("Download"), 0,
                                                QStringLiteral("Download stopped: the file is larger than 256 KiB.")}));
            QCOMPARE(readFile(destination()), QByteArray("working tool"));
        } else {
            QVERIFY2(!outcome.error, qPrintable(outcome.error ? outcome.error->message : QString()));
            QCOMPARE(readFile(destination()), route.body);
        }
        expectOnlyDestinationOrNothing();
    }

    void followsRedirectToTheFile()
    {
        TestHttpServer server;
        server.redirect(QStringLiteral("/latest/download/deno.zip"), server.base() + QStringLiteral("/v2/deno.zip"));
        server.serveText(QStringLiteral("/v2/deno.zip"), "zip bytes", "application/zip");

        const Outcome outcome = fetch(server.url(QStringLiteral("/latest/download/deno.zip")));
        QVERIFY(!outcome.error);
        QCOMPARE(readFile(destination()), QByteArray("zip bytes"));
        QCOMPARE(server.requestsFor(QStringLiteral("/v2/deno.zip")).value(0).headers.value("user-agent"),
                 QByteArray("Morvane/1.0"));
    }

    void redirectToAFailureIsJudgedByTheFinalStatus()
    {
        TestHttpServer server;
        server.redirect(QStringLiteral("/latest"), server.base() + QStringLiteral("/gone"));
        writeFile(destination(), "kept");
        const Outcome outcome = fetch(server.url(QStringLiteral("/latest")));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->message, QStringLiteral("HTTP 404"));
        QCOMPARE(readFile(destination()), QByteArray("kept"));
    }

    // Release downloads redirect to another host; with a mirror set, that host is mirrored too.
    void redirectsStayOnTheMirror()
    {
        TestHttpServer server;
        qputenv("MORVANE_TOOL_MIRROR", server.base().toUtf8());
        server.redirect(QStringLiteral("/yt-dlp/yt-dlp/releases/latest/download/yt-dlp_linux"),
                        QStringLiteral("https://github.com/yt-dlp/yt-dlp/releases/download/2026.08.19/yt-dlp_linux"));
        server.redirect(QStringLiteral("/yt-dlp/yt-dlp/releases/download/2026.08.19/yt-dlp_linux"),
                        QStringLiteral("https://objects.example.com/blob?name=yt-dlp_linux"));
        server.serveText(QStringLiteral("/blob"), "the release");
        const Outcome outcome =
            fetch(server.url(QStringLiteral("/yt-dlp/yt-dlp/releases/latest/download/yt-dlp_linux")));
        QVERIFY2(!outcome.error, qPrintable(outcome.error ? outcome.error->message : QString()));
        QCOMPARE(readFile(destination()), QByteArray("the release"));
        QCOMPARE(server.requestsFor(QStringLiteral("/blob")).value(0).query, QStringLiteral("name=yt-dlp_linux"));
    }

    void endlessRedirectsFail()
    {
        TestHttpServer server;
        server.redirect(QStringLiteral("/loop"), server.base() + QStringLiteral("/loop"));
        const Outcome outcome = fetch(server.url(QStringLiteral("/loop")));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code, int(QNetworkReply::TooManyRedirectsError));
        QCOMPARE(server.requestsFor(QStringLiteral("/loop")).size(), 11);
        QVERIFY(!QFile::exists(destination()));
    }

    void unknownLengthGivesNoProgress()
    {
        TestHttpServer server;
        TestHttpServer::Route route;
        route.body = payload(100000);
        route.sendContentLength = false;
        route.dripBytes = 20000;
        route.dripIntervalMs = 15;
        server.serve(QStringLiteral("/stream"), route);

        const Outcome outcome = fetch(server.url(QStringLiteral("/stream")));
        QVERIFY(!outcome.error);
        QVERIFY(outcome.progress.isEmpty());
        QCOMPARE(readFile(destination()), route.body);
    }

    // A server that stops sending must not hang the installer; the idle clock catches it.
    void stalledTransferFailsAfterIdleTimeout_data()
    {
        QTest::addColumn<bool>("headersSent");
        QTest::newRow("no answer") << false;
        QTest::newRow("body stops") << true;
    }

    void stalledTransferFailsAfterIdleTimeout()
    {
        QFETCH(bool, headersSent);
        TestHttpServer server;
        if (headersSent) {
            TestHttpServer::Route route;
            route.body = payload(1000);
            route.dripBytes = 100;
            route.dripIntervalMs = 60000;
            server.serve(QStringLiteral("/slow"), route);
        } else {
            server.stall(QStringLiteral("/slow"));
        }
        writeFile(destination(), "kept");

        const Outcome outcome = fetch(server.url(QStringLiteral("/slow")), std::chrono::milliseconds(300));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->domain, QStringLiteral("Network"));
        QVERIFY(!outcome.error->message.isEmpty());
        QCOMPARE(readFile(destination()), QByteArray("kept"));
        expectOnlyDestinationOrNothing();
    }

    // The limit is on silence, not on the whole transfer.
    void steadyTransferOutlastsIdleTimeout()
    {
        TestHttpServer server;
        TestHttpServer::Route route;
        route.body = payload(2000);
        route.dripBytes = 100;
        route.dripIntervalMs = 100; // two seconds in all
        server.serve(QStringLiteral("/steady"), route);
        const Outcome outcome = fetch(server.url(QStringLiteral("/steady")), std::chrono::milliseconds(800));
        QVERIFY2(!outcome.error, qPrintable(outcome.error ? outcome.error->message : QString()));
        QCOMPARE(readFile(destination()), route.body);
    }

    void refusedConnectionIsANetworkError()
    {
        quint16 port = 0;
        {
            TestHttpServer gone;
            port = gone.port();
        }
        const Outcome outcome = fetch(QUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(port)));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->domain, QStringLiteral("Network"));
        QCOMPARE(outcome.error->code, int(QNetworkReply::ConnectionRefusedError));
        QVERIFY(!QFile::exists(destination()));
        expectOnlyDestinationOrNothing();
    }

    void cancelEndsTheDownload()
    {
        TestHttpServer server;
        server.stall(QStringLiteral("/slow"));
        CancelToken cancel;
        QTimer::singleShot(50, [cancel] { cancel.cancel(); });
        const Outcome outcome = fetch(server.url(QStringLiteral("/slow")), std::chrono::seconds(60), cancel);
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code, int(QNetworkReply::OperationCanceledError));
        QVERIFY(!QFile::exists(destination()));
    }

    // A source that outpaces a busy main thread is held back by the reply's read buffer instead of
    // piling up in memory: while the main thread sleeps, the server gets rid of little more than
    // what the kernel's socket buffers take.
    void busyMainThreadHoldsTheSourceBack()
    {
        TestHttpServer server;
        server.streamEndlessly(QStringLiteral("/endless"));
        CancelToken cancel;
        qint64 sentWhileBusy = -1;
        QTimer::singleShot(300, [&server, &sentWhileBusy, cancel] {
            const qint64 before = server.endlessBytesSent();
            QThread::sleep(2);
            sentWhileBusy = server.endlessBytesSent() - before;
            cancel.cancel();
        });
        const Outcome outcome = fetch(server.url(QStringLiteral("/endless")), std::chrono::seconds(60), cancel);
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code, int(QNetworkReply::OperationCanceledError));
        QVERIFY(server.endlessBytesSent() > 0);
        QVERIFY2(sentWhileBusy >= 0 && sentWhileBusy < 48 * 1024 * 1024, qPrintable(QString::number(sentWhileBusy)));
    }

    void fileUrlNeedsNoStatus()
    {
        const QString source = m_folder->filePath(QStringLiteral("source.bin"));
        writeFile(source, "local bytes");
        const Outcome outcome = fetch(QUrl::fromLocalFile(source));
        QVERIFY(!outcome.error);
        QCOMPARE(readFile(destination()), QByteArray("local bytes"));
    }

    void unwritableDestinationIsAFileError()
    {
        TestHttpServer server;
        server.serveText(QStringLiteral("/a"), "bytes");
        FileDownloader downloader(&m_network);
        const auto error = QCoro::waitFor(downloader.download(
            server.url(QStringLiteral("/a")), m_folder->filePath(QStringLiteral("no/such/folder/tool")), {}));
        QVERIFY(error);
        QCOMPARE(error->domain, QStringLiteral("File"));
        QVERIFY(server.requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFileDownloader)
#include "tst_filedownloader.moc"
