#include "QmlHarness.h"
#include "QueueScreen.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "engine/DownloadTask.h"

#include <QColor>
#include <QFontMetricsF>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

// What only the queue screen's QML wires, in a real window: a row's title shown as given and its
// status in the palette's colour, a drag resolved by task id at the drop, the row buttons and the
// toolbar reaching the queue, and the log sheet opened from a row and closed by Return.
namespace {

QPoint centreOf(const QQuickItem *item, qreal xFraction = 0.5, qreal yFraction = 0.5)
{
    return item->mapToScene(QPointF(item->width() * xFraction, item->height() * yFraction)).toPoint();
}

QStringList titles(const char *spaced)
{
    return QString::fromLatin1(spaced).split(QLatin1Char(' '));
}

void click(QQuickWindow *window, const QQuickItem *item)
{
    QVERIFY(item);
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(item));
}

} // namespace

class TestQueueView : public QObject
{
    Q_OBJECT

    // Four queued tasks "a" to "d", in a shown window with every row built.
    static void fill(QueueScreen &screen)
    {
        QVERIFY(screen.window);
        for (const char *title : {"a", "b", "c", "d"})
            screen.add(QLatin1String(title));
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        QTRY_VERIFY(screen.row(3));
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void rowShowsTitleAndStatus_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<TaskStatus>("status");
        QTest::addColumn<QColor>("colour"); // of the status label

        QTest::newRow("bold markup") << QStringLiteral("Tom <b>& Jerry") << TaskStatus::Failed
                                     << QColor::fromRgbF(1.0f, 0.27f, 0.23f, 1);
        QTest::newRow("a remote image") << QStringLiteral("<img src=\"http://127.0.0.1:9/a.png\">Cover")
                                        << TaskStatus::Completed << QColor::fromRgbF(0.2f, 0.82f, 0.35f, 1);
        QTest::newRow("an entity") << QStringLiteral("Salt &amp; Pepper") << TaskStatus::Paused
                                   << QColor::fromRgbF(1.0f, 0.62f, 0.04f, 1);
        QTest::newRow("running") << QStringLiteral("Tides") << TaskStatus::Downloading
                                 << QColor::fromRgbF(1.0f, 0.34f, 0.42f, 1);
        QTest::newRow("waiting") << QStringLiteral("Tides") << TaskStatus::Queued << QColor::fromRgbF(1, 1, 1, 0.55f);
    }

    void rowShowsTitleAndStatus()
    {
        QFETCH(QString, title);
        QFETCH(TaskStatus, status);
        QFETCH(QColor, colour);

        QueueScreen screen;
        QVERIFY(screen.window);
        screen.add(title)->setStatus(status);
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        QTRY_VERIFY(screen.row(0));
        const auto *label = screen.row(0)->findChild<QQuickItem *>(QStringLiteral("titleLabel"));
        QVERIFY(label);
        // Every character drawn in the one font: as wide as the text itself.
        const QFontMetricsF metrics(label->property("font").value<QFont>());
        QVERIFY2(qAbs(label->implicitWidth() - metrics.horizontalAdvance(title)) < 1.5,
                 qPrintable(QString::number(label->implicitWidth())));
        const auto *statusLabel = screen.row(0)->findChild<QQuickItem *>(QStringLiteral("statusLabel"));
        QVERIFY(statusLabel);
        // A text keeps its colour in eight bits a component.
        QCOMPARE(statusLabel->property("color").value<QColor>().rgba(), colour.rgba());
    }

    void dragMovesTheDraggedTask_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("onto");
        QTest::addColumn<qreal>("height"); // where on the target row the pointer is let go
        QTest::addColumn<QString>("removedMeanwhile");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("last to the top") << 3 << 0 << 0.2 << QString() << titles("d a b c");
        QTest::newRow("first below the third") << 0 << 2 << 0.8 << QString() << titles("b c a d");
        QTest::newRow("first to the end") << 0 << 3 << 0.8 << QString() << titles("b c d a");
        QTest::newRow("another task removed during the drag")
            << 3 << 0 << 0.2 << QStringLiteral("b") << titles("d a c");
        QTest::newRow("the dragged task removed during the drag")
            << 3 << 0 << 0.2 << QStringLiteral("d") << titles("a b c");
    }

    void dragMovesTheDraggedTask()
    {
        QFETCH(int, from);
        QFETCH(int, onto);
        QFETCH(qreal, height);
        QFETCH(QString, removedMeanwhile);
        QFETCH(QStringList, expected);

        QueueScreen screen;
        fill(screen);
        // Hold the row by its summary, away from the buttons.
        const QPoint start = centreOf(screen.row(from), 0.4);
        const QPoint end = centreOf(screen.row(onto), 0.4, height);
        QTest::mousePress(screen.window, Qt::LeftButton, {}, start);
        for (int step = 1; step <= 5; ++step)
            QTest::mouseMove(screen.window, start + (end - start) * step / 5);
        if (!removedMeanwhile.isEmpty())
            screen.manager.remove(screen.manager.tasks()[screen.titles().indexOf(removedMeanwhile)]);
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, end);

        QCOMPARE(screen.titles(), expected);
    }

    void buttonsReachTheQueue()
    {
        QueueScreen screen;
        fill(screen);

        click(screen.window, screen.control(1, QStringLiteral("remove")));
        QCOMPARE(screen.titles(), titles("a c d"));

        click(screen.window, screen.control(0, QStringLiteral("pause")));
        QCOMPARE(screen.manager.tasks()[0]->status(), TaskStatus::Paused);
        // A paused row offers resume where it offered pause, a frame later.
        QTRY_VERIFY(screen.control(0, QStringLiteral("resume")));
        click(screen.window, screen.control(0, QStringLiteral("resume")));
        QCOMPARE(screen.manager.tasks()[0]->status(), TaskStatus::Queued);

        click(screen.window, screen.window->findChild<QQuickItem *>(QStringLiteral("pauseAll")));
        for (const DownloadTask *task : screen.manager.tasks())
            QCOMPARE(task->status(), TaskStatus::Paused);
        click(screen.window, screen.window->findChild<QQuickItem *>(QStringLiteral("resumeAll")));
        for (const DownloadTask *task : screen.manager.tasks())
            QCOMPARE(task->status(), TaskStatus::Queued);

        for (DownloadTask *task : screen.manager.tasks())
            task->setStatus(TaskStatus::Cancelled);
        click(screen.window, screen.window->findChild<QQuickItem *>(QStringLiteral("clearFinished")));
        QVERIFY(screen.manager.tasks().isEmpty());
        QVERIFY(screen.queue.isEmpty());
    }

    void menuEntriesActOnTheirRow()
    {
        QueueScreen screen;
        fill(screen);
        auto *menu = screen.window->findChild<QObject *>(QStringLiteral("taskMenu"));
        QVERIFY(menu);
        QTest::mouseClick(screen.window, Qt::RightButton, {}, centreOf(screen.row(1), 0.4));
        QTRY_VERIFY(menu->property("opened").toBool());
        QQuickItem *moveDown = nullptr;
        QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, moveDown), Q_ARG(int, 1));
        QVERIFY(moveDown);
        QCOMPARE(moveDown->objectName(), QStringLiteral("moveDown"));
        QTRY_VERIFY(moveDown->isVisible() && moveDown->height() > 0);
        // A frame lays the menu out around its entries: until then the entry may lie elsewhere.
        screen.window->grabWindow();
        // The entries are made by script; a collection of its heap leaves every one of them in place.
        const int entries = menu->property("count").toInt();
        screen.harness.engine().collectGarbage();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(menu->property("count").toInt(), entries);
        click(screen.window, moveDown);
        QCOMPARE(screen.titles(), titles("a c b d"));
    }

    void logSheetOpensFromItsRowAndReturnClosesIt()
    {
        QueueScreen screen;
        fill(screen);
        const DownloadTask *task = screen.manager.tasks()[2];
        LogManager::append(QStringLiteral("Starting c"), LogManager::taskLogPath(task->id()));
        QObject *sheet = screen.sheet();
        QVERIFY(sheet);

        for (int opening = 0; opening < 2; ++opening) {
            QQuickItem *opener = screen.control(2, QStringLiteral("showLog"));
            opener->forceActiveFocus();
            click(screen.window, opener);
            QCOMPARE(screen.queue.logTask(), Json::uuidText(task->id()));
            QCOMPARE(screen.logSheet.name(), QStringLiteral("Download Log: ") + task->displayTitle());
            QTRY_VERIFY(sheet->property("opened").toBool());
            QTRY_VERIFY(screen.logSheet.text().contains(QStringLiteral("Starting c")));

            // Return closes the sheet also while a block of text has the focus.
            auto *blocks = screen.window->findChild<QQuickItem *>(QStringLiteral("logBlocks"));
            QVERIFY(blocks);
            QTRY_VERIFY(blocks->property("count").toInt() > 0);
            QTest::mouseClick(screen.window, Qt::LeftButton, {}, centreOf(blocks, 0.3, 0.05));
            QTest::keyClick(screen.window, Qt::Key_Return);
            QTRY_VERIFY(!sheet->property("visible").toBool());
            QVERIFY(screen.queue.logTask().isEmpty());
            // The keyboard is back where it was.
            QVERIFY(opener->hasActiveFocus());
        }
    }
};

QTEST_MAIN(TestQueueView)
#include "tst_queueview.moc"
