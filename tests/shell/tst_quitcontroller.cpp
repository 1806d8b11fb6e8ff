#include "QmlHarness.h"
#include "TestApp.h"
#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestRequests.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "shell/QuitController.h"
#include "shell/QuitDialog.h"
#include "shell/Shell.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

// Quitting: the question while downloads run, answered by a stand-in or through the real dialog.
// The real executable ending on a signal is tst_termination.
namespace {

class FakeQuestion final : public QuitQuestion
{
public:
    void ask() override { ++asked; }
    void withdraw() override { ++withdrawn; }
    void answer(bool quit) { Q_EMIT answered(quit); }

    int asked = 0;
    int withdrawn = 0;
};

} // namespace

class TestQuitController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        SettingsStore::registerDefaults();
        QmlHarness::prepareApplication();
    }
    void init() { QmlHarness::failOnWarnings(); }

    void requests_data()
    {
        QTest::addColumn<bool>("running");      // one download runs; otherwise it only waits
        QTest::addColumn<QStringList>("steps"); // "person", "signal", "quit", "cancel" (answers)
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("withdrawn");
        QTest::addColumn<int>("saves");
        QTest::addColumn<bool>("exits");
        QTest::addColumn<QString>("status"); // of the download afterwards

        const QString person = QStringLiteral("person");
        const QString signal = QStringLiteral("signal");
        const QString quit = QStringLiteral("quit");
        const QString cancel = QStringLiteral("cancel");
        QTest::newRow("idle") << false << QStringList{person} << 0 << 0 << 2 << true << "queued";
        QTest::newRow("running, Cancel") << true << QStringList{person, cancel} << 1 << 0 << 1 << false
                                         << "downloading";
        QTest::newRow("running, Quit") << true << QStringList{person, quit} << 1 << 0 << 2 << true << "queued";
        QTest::newRow("running, asked again while asking")
            << true << QStringList{person, person, cancel} << 1 << 0 << 1 << false << "downloading";
        QTest::newRow("running, Cancel, then Quit")
            << true << QStringList{person, cancel, person, quit} << 2 << 0 << 3 << true << "queued";
        QTest::newRow("running, signal") << true << QStringList{signal} << 0 << 0 << 2 << true << "queued";
        QTest::newRow("running, signal while asking")
            << true << QStringList{person, signal} << 1 << 1 << 2 << true << "queued";
        QTest::newRow("an answer after the signal counts for nothing")
            << true << QStringList{person, signal, quit} << 1 << 1 << 2 << true << "queued";
        QTest::newRow("nothing after the end")
            << true << QStringList{signal, person, signal} << 0 << 0 << 2 << true << "queued";
    }

    void requests()
    {
        QFETCH(bool, running);
        QFETCH(QStringList, steps);
        QFETCH(int, asked);
        QFETCH(int, withdrawn);
        QFETCH(int, saves);
        QFETCH(bool, exits);
        QFETCH(QString, status);

        TestEnvironment env;
        FakeYtdlp fake(env);
        fake.plan(QStringLiteral("a"), "hold\n");
        HistoryStore history;
        DownloadManager downloads(&history);
        DownloadTask *task = downloads.enqueue(TestRequests::defaultRequest(FakeYtdlp::url(QStringLiteral("a")),
                                                                            env.root() + QStringLiteral("/Downloads")));
        if (running) {
            downloads.start();
            QTRY_VERIFY(fake.started(QStringLiteral("a")));
            QCOMPARE(downloads.activeCount(), 1);
        }
        FakeQuestion question;
        int saved = 0;
        QuitController quit(
            downloads, [&saved] { ++saved; }, question);
        QSignalSpy exited(&quit, &QuitController::readyToExit);

        for (const QString &step : steps) {
            if (step == QLatin1String("person"))
                quit.requestQuit();
            else if (step == QLatin1String("signal"))
                quit.quitUnasked();
            else
                question.answer(step == QLatin1String("quit"));
        }

        QCOMPARE(question.asked, asked);
        QCOMPARE(question.withdrawn, withdrawn);
        QCOMPARE(saved, saves);
        QCOMPARE(exited.size(), exits ? 1 : 0);
        QCOMPARE(TaskStatuses::rawValue(task->status()), status);
        if (exits)
            QCOMPARE(TestDownloads::savedStatuses(), QStringList{QStringLiteral("queued")});
        fake.release(QStringLiteral("a"));
    }

    void dialog_data()
    {
        QTest::addColumn<QString>("choice"); // a button's objectName, or a key
        QTest::addColumn<bool>("quit");

        QTest::newRow("Quit") << "confirmQuit" << true;
        QTest::newRow("Cancel") << "cancelQuit" << false;
        QTest::newRow("Escape") << "Escape" << false;
        QTest::newRow("Return") << "Return" << true; // the default button
    }

    // The real dialog over the main window, hidden before (a quit from the tray), answered by a
    // person's click or key.
    void dialog()
    {
        QFETCH(QString, choice);
        QFETCH(bool, quit);

        TestApp test;
        QVERIFY(test.app.start());
        Shell &shell = test.app.shell();
        QuitDialog question(shell);
        QSignalSpy answers(&question, &QuitQuestion::answered);
        question.ask();
        QQuickWindow *window = shell.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *dialog = window->contentItem()->findChild<QObject *>(QStringLiteral("quitDialog"));
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->property("opened").toBool());
        QCOMPARE(dialog->property("title").toString(), QStringLiteral("Downloads are in progress"));
        // Each opening gives the keyboard to Quit, with its ring.
        const auto quitFocused = [window] {
            const QQuickItem *item = window->activeFocusItem();
            return item && item->objectName() == u"confirmQuit" && item->property("visualFocus").toBool();
        };
        QTRY_VERIFY(quitFocused());

        if (auto *button = window->findChild<QQuickItem *>(choice); !button) {
            QTest::keyClick(window, QKeySequence(choice)[0].key());
        } else {
            const QPoint centre = button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint();
            QTest::mouseClick(window, Qt::LeftButton, {}, centre);
        }
        QTRY_COMPARE(answers.size(), 1);
        QCOMPARE(answers.constFirst().constFirst().toBool(), quit);
        QTRY_VERIFY(!dialog->property("visible").toBool());

        // Asked again, the window closed meanwhile: the same dialog opens; taken away, it answers nothing.
        window->hide();
        question.ask();
        QVERIFY(window->isVisible());
        QTRY_VERIFY(dialog->property("opened").toBool());
        QTRY_VERIFY(quitFocused());
        question.withdraw();
        QTRY_VERIFY(!dialog->property("visible").toBool());
        QCOMPARE(answers.size(), 1);
    }
};

QTEST_MAIN(TestQuitController)
#include "tst_quitcontroller.moc"
