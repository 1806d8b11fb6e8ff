#include "QmlHarness.h"
#include "TestApp.h"

#include "shell/Shell.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(LaunchRequest)

namespace {
LaunchRequest request(LaunchRequest::Kind kind, const QStringList &uris, const QString &action = {},
                      const QString &text = {})
{
    LaunchRequest made;
    made.kind = kind;
    made.uris = uris;
    made.action = action;
    made.text = text;
    return made;
}
} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void mainWindow()
    {
        TestApp test;
        QVERIFY(test.app.start());
        Shell &shell = test.app.shell();
        QQuickWindow *window = shell.mainWindow();
        QVERIFY(!window->isVisible()); // shown by the first launch request, not by loading
        QCOMPARE(window->title(), QStringLiteral("Morvane"));
        QCOMPARE(window->size(), QSize(1280, 800));
        QCOMPARE(window->minimumSize(), QSize(1020, 660));
        QCOMPARE(window->color(), QColor::fromRgbF(0.035f, 0.035f, 0.043f));
        QVERIFY(!(window->flags() & Qt::FramelessWindowHint));
    }

    // Closing hides the window and keeps it; the next launch request shows the same window again.
    void closeHidesAndALaunchShows()
    {
        QGuiApplication::setQuitOnLastWindowClosed(false);
        TestApp test;
        QVERIFY(test.app.start());
        Shell &shell = test.app.shell();
        QQuickWindow *window = shell.mainWindow();
        shell.handle(LaunchRequest());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(shell.mainWindow(), window);
        shell.handle(LaunchRequest());
        QVERIFY(window->isVisible());
    }

    void linkText_data()
    {
        QTest::addColumn<LaunchRequest>("launch");
        QTest::addColumn<QStringList>("clipboard"); // text, then a uri-list entry
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("activate") << LaunchRequest() << QStringList() << QStringList();
        QTest::newRow("open, one text per link")
            << request(LaunchRequest::Kind::Open, {QStringLiteral("morvane://add?url=https%3A%2F%2Fa.b%2F1"),
                                                   QStringLiteral("https://a.b/2"), QStringLiteral("morvane:x?url")})
            << QStringList()
            << QStringList{QStringLiteral("https://a.b/1"), QStringLiteral("https://a.b/2"),
                           QStringLiteral("morvane:x?url")};
        QTest::newRow("text") << request(LaunchRequest::Kind::Action, {}, QStringLiteral("receive-text"),
                                         QStringLiteral("https://a.b\nhttps://c.d"))
                              << QStringList{QStringLiteral("ignored")}
                              << QStringList{QStringLiteral("https://a.b\nhttps://c.d")};
        QTest::newRow("empty text") << request(LaunchRequest::Kind::Action, {}, QStringLiteral("receive-text"))
                                    << QStringList() << QStringList{QString()};
        QTest::newRow("clipboard text") << request(LaunchRequest::Kind::Action, {}, QStringLiteral("receive-clipboard"))
                                        << QStringList{QStringLiteral("https://a.b"),
                                                       QStringLiteral("https://uri.list/1")}
                                        << QStringList{QStringLiteral("https://a.b")};
        QTest::newRow("clipboard uri-list")
            << request(LaunchRequest::Kind::Action, {}, QStringLiteral("receive-clipboard"))
            << QStringList{QString(), QStringLiteral("https://uri.list/1")}
            << QStringList{QStringLiteral("https://uri.list/1")};
        QTest::newRow("empty clipboard") << request(LaunchRequest::Kind::Action, {},
                                                    QStringLiteral("receive-clipboard"))
                                         << QStringList() << QStringList{QString()};
        // Without a selection (this platform has none) the clipboard is taken.
        QTest::newRow("selection falls back")
            << request(LaunchRequest::Kind::Action, {}, QStringLiteral("receive-selection"))
            << QStringList{QStringLiteral("https://a.b")} << QStringList{QStringLiteral("https://a.b")};
        QTest::newRow("unknown action") << request(LaunchRequest::Kind::Action, {}, QStringLiteral("quit"))
                                        << QStringList{QStringLiteral("https://a.b")} << QStringList();
    }
    void linkText()
    {
        QFETCH(LaunchRequest, launch);
        QFETCH(QStringList, clipboard);
        QFETCH(QStringList, expected);

        auto *data = new QMimeData;
        if (!clipboard.value(0).isEmpty())
            data->setText(clipboard.value(0));
        if (!clipboard.value(1).isEmpty())
            data->setUrls({QUrl(clipboard.value(1))});
        QGuiApplication::clipboard()->setMimeData(data);

        TestApp test;
        QVERIFY(test.app.start());
        Shell &shell = test.app.shell();
        QSignalSpy received(&shell, &Shell::linkTextReceived);
        shell.handle(launch);
        QVERIFY(shell.mainWindow()->isVisible());
        QStringList texts;
        for (const QList<QVariant> &arguments : received)
            texts.append(arguments.constFirst().toString());
        QCOMPARE(texts, expected);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
