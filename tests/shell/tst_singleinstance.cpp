#include "TestToolMirror.h"
#include "platform/LaunchRequest.h"
#include "platform/SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(LaunchRequest)

namespace {
LaunchRequest action(const QString &name, const QString &text = {})
{
    LaunchRequest request;
    request.kind = LaunchRequest::Kind::Action;
    request.action = name;
    request.text = text;
    return request;
}

LaunchRequest open(const QStringList &uris)
{
    LaunchRequest request;
    request.kind = LaunchRequest::Kind::Open;
    request.uris = uris;
    return request;
}

// A second launch of the real executable, with data and config folders of its own that must stay empty.
struct SecondLaunch
{
    QTemporaryDir data;
    QTemporaryDir config;
    QProcess process;

    explicit SecondLaunch(const QStringList &arguments, const QString &busAddress = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("MORVANE_AO"), QStringLiteral("null"));
        if (!busAddress.isEmpty())
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(MORVANE_BINARY), arguments);
    }
    // Waits while this process's event loop runs, so an in-process instance can answer.
    bool finish()
    {
        if (process.state() != QProcess::NotRunning && !QSignalSpy(&process, &QProcess::finished).wait(20000))
            return false;
        return process.exitStatus() == QProcess::NormalExit;
    }
    [[nodiscard]] bool foldersEmpty() const { return QDir(data.path()).isEmpty() && QDir(config.path()).isEmpty(); }
};
} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<LaunchRequest>("expected");
        QTest::addColumn<bool>("valid");

        QTest::newRow("nothing") << QStringList() << LaunchRequest() << true;
        QTest::newRow("links") << QStringList{QStringLiteral("morvane://add?url=x"), QStringLiteral("https://a.b")}
                               << open({QStringLiteral("morvane://add?url=x"), QStringLiteral("https://a.b")}) << true;
        QTest::newRow("text") << QStringList{QStringLiteral("--receive-text"), QStringLiteral("a\nb")}
                              << action(QStringLiteral("receive-text"), QStringLiteral("a\nb")) << true;
        QTest::newRow("text with equals") << QStringList{QStringLiteral("--receive-text=x")}
                                          << action(QStringLiteral("receive-text"), QStringLiteral("x")) << true;
        QTest::newRow("empty text") << QStringList{QStringLiteral("--receive-text"), QString()}
                                    << action(QStringLiteral("receive-text"), QStringLiteral("")) << true;
        QTest::newRow("text wins over links")
            << QStringList{QStringLiteral("https://a.b"), QStringLiteral("--receive-text"), QStringLiteral("t")}
            << action(QStringLiteral("receive-text"), QStringLiteral("t")) << true;
        QTest::newRow("selection") << QStringList{QStringLiteral("--receive-selection")}
                                   << action(QStringLiteral("receive-selection")) << true;
        QTest::newRow("clipboard") << QStringList{QStringLiteral("--receive-clipboard")}
                                   << action(QStringLiteral("receive-clipboard")) << true;
        QTest::newRow("text without value")
            << QStringList{QStringLiteral("--receive-text")} << LaunchRequest() << false;
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << LaunchRequest() << false;
    }
    void fromArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(LaunchRequest, expected);
        QFETCH(bool, valid);
        QString error;
        const LaunchRequest request = LaunchRequest::fromArguments(arguments, &error);
        QCOMPARE(error.isEmpty(), valid);
        QVERIFY(request == expected);
    }

    void requestsWaitForTheHandler()
    {
        SingleInstance instance;
        instance.deliver(open({QStringLiteral("a")}));
        instance.deliver(LaunchRequest());
        QList<LaunchRequest> seen;
        instance.setHandler([&seen](const LaunchRequest &request) { seen.append(request); });
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen.at(0) == open({QStringLiteral("a")}));
        instance.deliver(action(QStringLiteral("receive-clipboard")));
        QCOMPARE(seen.size(), 3);
        QVERIFY(seen.at(2) == action(QStringLiteral("receive-clipboard")));
    }

    // The name's owner does not serve the interface: the launch says why and fails.
    void forwardToAnOwnerThatDoesNotAnswer()
    {
        QDBusConnection bare = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("bare"));
        QVERIFY(bare.registerService(SingleInstance::serviceName()));
        SecondLaunch second({QStringLiteral("--receive-text"), QStringLiteral("x")});
        QVERIFY(second.finish());
        QCOMPARE(second.process.exitCode(), 1);
        QVERIFY2(second.process.readAllStandardError().contains("did not take the request"), "no reason given");
        QVERIFY(second.foldersEmpty());
        bare.unregisterService(SingleInstance::serviceName());
        QDBusConnection::disconnectFromBus(QStringLiteral("bare"));
    }

    void secondLaunchHandsOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<LaunchRequest>("expected");

        const QString links = QStringLiteral("http://127.0.0.1:9/a.mp4\nhttp://127.0.0.1:9/b.mp4");
        QTest::newRow("two links as text")
            << QStringList{QStringLiteral("--receive-text"), links} << action(QStringLiteral("receive-text"), links);
        QTest::newRow("empty text") << QStringList{QStringLiteral("--receive-text"), QString()}
                                    << action(QStringLiteral("receive-text"), QStringLiteral(""));
        QTest::newRow("selection") << QStringList{QStringLiteral("--receive-selection")}
                                   << action(QStringLiteral("receive-selection"));
        QTest::newRow("clipboard") << QStringList{QStringLiteral("--receive-clipboard")}
                                   << action(QStringLiteral("receive-clipboard"));
        QTest::newRow("links") << QStringList{QStringLiteral("morvane://add?url=http%3A%2F%2F127.0.0.1%2Fa"),
                                              QStringLiteral("http://127.0.0.1/b")}
                               << open({QStringLiteral("morvane://add?url=http%3A%2F%2F127.0.0.1%2Fa"),
                                        QStringLiteral("http://127.0.0.1/b")});
        QTest::newRow("nothing") << QStringList() << LaunchRequest();
    }
    void secondLaunchHandsOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(LaunchRequest, expected);

        SingleInstance primary;
        QCOMPARE(primary.claim(LaunchRequest()), SingleInstance::Role::Primary);
        QList<LaunchRequest> seen;
        primary.setHandler([&seen](const LaunchRequest &request) { seen.append(request); });

        SecondLaunch second(arguments);
        QVERIFY(second.finish());
        QCOMPARE(second.process.readAllStandardError(), QByteArray());
        QCOMPARE(second.process.exitCode(), 0);
        QCOMPARE(seen.size(), 2); // the primary's own launch, then the second one's
        QVERIFY(seen.at(1) == expected);
        QVERIFY(second.foldersEmpty());
        QDBusConnection::sessionBus().unregisterService(SingleInstance::serviceName());
    }

    // Both launches are the real executable: the first stays, the second hands over and ends.
    void realPrimary()
    {
        QTemporaryDir work;
        TestToolMirror mirror(work.path()); // the primary's start-up check installs from here
        SecondLaunch first({});
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered(SingleInstance::serviceName()), 20000);
        SecondLaunch second({QStringLiteral("--receive-text"), QStringLiteral("http://127.0.0.1/x")});
        QVERIFY(second.finish());
        QCOMPARE(second.process.exitCode(), 0);
        QVERIFY(second.foldersEmpty());
        QCOMPARE(first.process.state(), QProcess::Running);
        first.process.terminate();
        QVERIFY(first.process.waitForFinished(10000));
    }

    // Without a session bus the first launch holds the lock file; a second cannot reach it and says so.
    void withoutABusTheLockFileDecides()
    {
        const QString noBus = QStringLiteral("unix:path=/nonexistent/bus");
        QTemporaryDir work;
        TestToolMirror mirror(work.path());
        SecondLaunch first({}, noBus);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(SingleInstance::lockFilePath()), 20000);
        SecondLaunch second({QStringLiteral("--receive-text"), QStringLiteral("x")}, noBus);
        QVERIFY(second.finish());
        QCOMPARE(second.process.exitCode(), 1);
        QVERIFY(second.process.readAllStandardError().contains("without a session bus"));
        QVERIFY(second.foldersEmpty());
        QCOMPARE(first.process.state(), QProcess::Running);
        first.process.terminate();
        QVERIFY(first.process.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
