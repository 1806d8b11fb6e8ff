#include "QmlHarness.h"
#include "QueueScreen.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "engine/DownloadTask.h"

#include "shell/Shell.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

// Renders every screen with fixture data into build/gallery/<name>.png: each must fill its window,
// show more than one colour and load without a warning.
class TestGallery : public QObject
{
    Q_OBJECT

    static QUrl fixture(const char *file)
    {
        return QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/") + QLatin1String(file));
    }

    static void record(QQuickWindow *window, const QString &name)
    {
        const QImage image = QmlHarness::render(window);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), window->size() * window->devicePixelRatio());
        QVERIFY2(!QmlHarness::isOneColour(image), qPrintable(name + QStringLiteral(" is blank")));
        QVERIFY(QDir().mkpath(QStringLiteral(MORVANE_GALLERY_DIR)));
        QVERIFY(image.save(QStringLiteral(MORVANE_GALLERY_DIR "/") + name + QStringLiteral(".png")));
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void palette()
    {
        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(harness.create(fixture("Palette.qml")));
        QVERIFY(window);
        record(window, QStringLiteral("palette"));
    }

    void root()
    {
        Shell shell;
        QVERIFY(shell.load());
        QObject *slot = shell.mainWindow()->findChild<QObject *>(QStringLiteral("shellSlot"));
        QVERIFY(slot);
        slot->setProperty("source", fixture("ShellFixture.qml"));
        QCOMPARE(slot->property("status").toInt(), 1); // Loader.Ready
        record(shell.mainWindow(), QStringLiteral("root"));
    }

    void queue()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        screen.addEveryStatus();
        screen.window->show();
        // Rows follow their tasks a frame later: wait until the last one shows its status.
        QTRY_VERIFY(screen.row(8) && screen.row(8)->property("statusText").toString() == QStringLiteral("Cancelled"));
        record(screen.window, QStringLiteral("queue"));
    }

    void queueEmpty()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        record(screen.window, QStringLiteral("queue-empty"));
    }

    void queueMenu()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        screen.addEveryStatus();
        screen.window->show();
        QTRY_VERIFY(screen.row(6) && screen.row(6)->property("statusText").toString() == QStringLiteral("Completed"));
        QQuickItem *row = screen.row(6);
        const QPointF point = row->mapToScene(QPointF(row->width() / 2, row->height() / 2));
        QTest::mouseClick(screen.window, Qt::RightButton, {}, point.toPoint());
        record(screen.window, QStringLiteral("queue-menu"));
    }

    void logSheet()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        DownloadTask *task = screen.add(QStringLiteral("Long concert"));
        // Past the shown limit, so the sheet opens with its note line.
        QFile log(LogManager::taskLogPath(task->id()));
        QVERIFY(log.open(QIODevice::WriteOnly));
        for (int line = 0; line < 30'000; ++line)
            log.write(QStringLiteral("[2026-12-09T10:00:00Z] [download] %1% of 45.6MiB at 1.2MiB/s ETA 00:27\n")
                          .arg(line % 100)
                          .toUtf8());
        log.close();
        screen.window->show();
        screen.queue.trigger(Json::uuidText(task->id()), QStringLiteral("showLog"));
        QTRY_VERIFY(screen.logSheet.rowCount() > 0);
        record(screen.window, QStringLiteral("log-sheet"));
    }
};

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
