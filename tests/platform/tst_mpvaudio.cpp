#include "TestHttpServer.h"
#include "TestMedia.h"
#include "platform/MpvAudio.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>

#include <cmath>

namespace {

// Positions are compared within a millisecond: audio frame times are not exact decimals.
constexpr double timeSlack = 0.001;

const QString userAgent = QStringLiteral("Mozilla/5.0 (X11; Linux x86_64) (KHTML, like Gecko)");

// What one item reported, in order, with the position it was at.
struct Recorder
{
    explicit Recorder(MpvAudio &audio)
    {
        QObject::connect(&audio, &AudioBackend::ready, &audio, [this, &audio](double duration) {
            events.append(QStringLiteral("ready"));
            readyDuration = duration;
            readyPosition = audio.position();
        });
        QObject::connect(&audio, &AudioBackend::ended, &audio, [this, &audio] {
            events.append(QStringLiteral("ended"));
            endPosition = audio.position();
        });
        QObject::connect(&audio, &AudioBackend::failed, &audio,
                         [this](const QString &message) { events.append(QStringLiteral("failed: ") + message); });
    }

    QStringList events;
    double readyDuration = NAN;
    double readyPosition = NAN;
    double endPosition = NAN;
};

int linesNamed(const QList<QByteArray> &lines, const QByteArray &name)
{
    return int(std::count_if(lines.begin(), lines.end(),
                             [&name](const QByteArray &line) { return line.toLower().startsWith(name + ':'); }));
}

// In a process that cannot load libmpv: runs `steps` ('l' a load, 's' a stop) and prints each
// failure reported, one a line.
int stepsWithoutLibmpv(const QString &steps)
{
    MpvAudio audio;
    QObject::connect(&audio, &AudioBackend::failed, [](const QString &message) {
        std::fputs(qPrintable(message + QLatin1Char('\n')), stdout);
        std::fflush(stdout);
    });
    for (const QChar step : steps) {
        if (step == u'l')
            audio.load(QUrl(QStringLiteral("http://127.0.0.1:9/song.mp3")), {}, 0, true);
        else
            audio.stop();
    }
    // After whatever the steps queued.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

} // namespace

class TestMpvAudio : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

    QUrl song(const QString &extension, bool overHttp)
    {
        const QString path = TestMedia::songFile(extension);
        if (!overHttp)
            return QUrl::fromLocalFile(path);
        m_server.serveFile(QStringLiteral("/song.") + extension, path, "audio/mpeg");
        return m_server.url(QStringLiteral("/song.") + extension);
    }

private Q_SLOTS:
    void initTestCase() { qputenv("MORVANE_AO", "null"); }

    void headerFieldsAreEscapedForMpv()
    {
        const QMap<QString, QString> headers{{QStringLiteral("User-Agent"), QStringLiteral("a (b, c)")},
                                             {QStringLiteral("X-Path"), QStringLiteral("C:\\x")}};
        QCOMPARE(MpvAudio::headerFields(headers), QStringLiteral("User-Agent: a (b\\, c),X-Path: C:\\\\x"));
    }

    // Runs before any other test has loaded libmpv into this process.
    void libmpvWaitsForTheFirstUseAndTakesTheHeldVolume()
    {
        MpvAudio audio;
        audio.setVolume(0.5);
        audio.pause();
        audio.seek(3);
        audio.stop();
        QVERIFY(!audio.isStarted());
        QVERIFY(!dlopen("libmpv.so.2", RTLD_NOW | RTLD_NOLOAD));
        QVERIFY(std::isnan(audio.mpvVolume()));
        QVERIFY(std::isnan(audio.position()));

        audio.listOutputs();
        QVERIFY(audio.isStarted());
        QCOMPARE(std::round(audio.mpvVolume() * 100) / 100, 79.37);
    }

    void headersReachTheServerWholeAndOnce()
    {
        MpvAudio audio;
        Recorder recorder(audio);
        const QMap<QString, QString> headers{{QStringLiteral("User-Agent"), userAgent},
                                             {QStringLiteral("X-Test"), QStringLiteral("a, b")}};
        audio.load(song(QStringLiteral("mp3"), true), headers, 0, false);
        QTRY_COMPARE(recorder.events, QStringList{QStringLiteral("ready")});

        const auto requests = m_server.requestsFor(QStringLiteral("/song.mp3"));
        QVERIFY(!requests.isEmpty());
        for (const auto &request : requests) {
            QCOMPARE(request.headerLines.count("User-Agent: " + userAgent.toUtf8()), 1);
            QCOMPARE(request.headerLines.count("X-Test: a, b"), 1);
            QCOMPARE(linesNamed(request.headerLines, "user-agent"), 1);
            QCOMPARE(linesNamed(request.headerLines, "x-test"), 1);
        }

        // The headers belong to that one file: a local file after it sends nothing anywhere.
        const auto before = m_server.requests().size();
        audio.load(song(QStringLiteral("wav"), false), {}, 0, false);
        QTRY_COMPARE(recorder.events.size(), 2);
        QCOMPARE(m_server.requests().size(), before);
    }

    void playsToItsLastSound_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("overHttp");
        QTest::newRow("mp3 file") << "mp3" << false;
        QTest::newRow("wav over http") << "wav" << true;
        QTest::newRow("mp3 over http") << "mp3" << true;
    }

    void playsToItsLastSound()
    {
        QFETCH(QString, extension);
        QFETCH(bool, overHttp);
        MpvAudio audio;
        Recorder recorder(audio);
        // Started near the end, so the test waits two seconds rather than twelve.
        audio.load(song(extension, overHttp), {}, 10, true);
        QTRY_COMPARE(recorder.events, QStringList{QStringLiteral("ready")});
        QVERIFY2(std::abs(recorder.readyDuration - 12) <= 0.1, qPrintable(QString::number(recorder.readyDuration)));
        QVERIFY(recorder.readyPosition >= 10 - timeSlack);
        QVERIFY(audio.hasItem());
        QTRY_VERIFY(audio.isRunning());

        QTRY_COMPARE_WITH_TIMEOUT(recorder.events.size(), 2, 10000);
        QCOMPARE(recorder.events.last(), QStringLiteral("ended"));
        QVERIFY2(recorder.endPosition >= recorder.readyDuration - 0.1,
                 qPrintable(QString::number(recorder.endPosition)));
        QTRY_VERIFY(!audio.isRunning());
        // Kept open at the end: nothing more arrives.
        QTest::qWait(300);
        QCOMPARE(recorder.events.size(), 2);

        // Playing the same item again from its start (repeat one) needs no reload.
        audio.seek(11);
        audio.play();
        QTRY_COMPARE_WITH_TIMEOUT(recorder.events.size(), 3, 10000);
        QCOMPARE(recorder.events.last(), QStringLiteral("ended"));
    }

    void startPositionAndHeldSeek()
    {
        MpvAudio audio;
        Recorder recorder(audio);
        audio.load(song(QStringLiteral("mp3"), true), {}, 5, false);
        QTRY_COMPARE(recorder.events, QStringList{QStringLiteral("ready")});
        QVERIFY2(recorder.readyPosition >= 5 - timeSlack, qPrintable(QString::number(recorder.readyPosition)));

        // A seek made while the file still loads is applied once it is loaded.
        audio.load(song(QStringLiteral("wav"), false), {}, 0, false);
        audio.seek(7);
        QTRY_COMPARE(recorder.events.size(), 2);
        QTRY_VERIFY(audio.position() >= 7 - timeSlack);
    }

    void missingFileFails()
    {
        MpvAudio audio;
        Recorder recorder(audio);
        audio.load(m_server.url(QStringLiteral("/missing.mp3")), {}, 0, true);
        QTRY_COMPARE(recorder.events, QStringList{QStringLiteral("failed: Loading failed.")});
        QVERIFY(!audio.hasItem());
    }

    void replacedLoadSendsNothingMore()
    {
        MpvAudio audio;
        Recorder recorder(audio);
        audio.load(m_server.url(QStringLiteral("/missing.mp3")), {}, 0, true);
        audio.load(song(QStringLiteral("wav"), false), {}, 0, false);
        QTRY_COMPARE(recorder.events, QStringList{QStringLiteral("ready")});

        audio.load(m_server.url(QStringLiteral("/missing.mp3")), {}, 0, true);
        audio.stop();
        QTest::qWait(500);
        QCOMPARE(recorder.events, QStringList{QStringLiteral("ready")});
        QVERIFY(!audio.hasItem());
    }

    // Without libmpv every load fails, and says so once it is the latest: a report of a load
    // that another load or a stop replaced would cost the next song an attempt.
    void failureWithoutLibmpvBelongsToItsLoad_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("failures");
        QTest::newRow("one load") << "l" << 1;
        QTest::newRow("a load replaced") << "ll" << 1;
        QTest::newRow("a load stopped") << "ls" << 0;
        QTest::newRow("stopped, then loaded") << "lsl" << 1;
    }

    void failureWithoutLibmpvBelongsToItsLoad()
    {
        QFETCH(QString, steps);
        QFETCH(int, failures);
        // The dynamic linker takes the first file of the name it finds, and this one is no library.
        QTemporaryDir broken;
        for (const char *name : {"/libmpv.so.2", "/libmpv.so"}) {
            QFile library(broken.path() + QLatin1String(name));
            QVERIFY(library.open(QIODevice::WriteOnly));
            library.write("not a library");
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), broken.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--without-libmpv"), steps});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QStringList reported = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(reported, QStringList(failures, QStringLiteral("Audio output is not available.")));
    }

    void volumeIsCubic()
    {
        MpvAudio audio;
        audio.listOutputs();
        audio.setVolume(0.5);
        QCOMPARE(std::round(audio.mpvVolume() * 100) / 100, 79.37);
        audio.setVolume(1.0);
        QCOMPARE(audio.mpvVolume(), 100.0);
        audio.setVolume(0.0);
        QCOMPARE(audio.mpvVolume(), 0.0);
    }

    // A transfer cut short after a third of the file: what arrived plays, then the item ends.
    void cutTransferEndsWhereTheDataStops()
    {
        const QString path = TestMedia::songFile(QStringLiteral("mp3"));
        TestHttpServer::Route route;
        route.filePath = path;
        route.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("audio/mpeg")));
        route.cutAt = QFile(path).size() / 3;
        m_server.serve(QStringLiteral("/cut.mp3"), route);

        MpvAudio audio;
        Recorder recorder(audio);
        audio.load(m_server.url(QStringLiteral("/cut.mp3")), {}, 2.5, true);
        // The stream layer asks for the rest a few times, with growing pauses, before it gives up.
        QTRY_COMPARE_WITH_TIMEOUT(recorder.events.size(), 2, 30000);
        QCOMPARE(recorder.events, (QStringList{QStringLiteral("ready"), QStringLiteral("ended")}));
        QVERIFY2(std::abs(recorder.endPosition - 4) < 0.5, qPrintable(QString::number(recorder.endPosition)));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--without-libmpv") == 0)
        return stepsWithoutLibmpv(QString::fromLatin1(argv[2]));
    TestMpvAudio test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mpvaudio.moc"
