#include "core/TextHelpers.h"
#include "ui/downloader/PercentText.h"
#include "ui/downloader/TaskPresentation.h"

#include <QTest>

#include <cmath>
#include <limits>

// The queue row's texts, controls and menu, computed from hand-made snapshots.
namespace {

const QString dot = QStringLiteral(" \u00b7 ");

TaskSnapshot snapshot(TaskStatus status)
{
    TaskSnapshot task;
    task.status = status;
    task.displayTitle = QStringLiteral("A video");
    task.url = QStringLiteral("https://example.com/watch?v=1");
    return task;
}

QStringList actionsOf(const QList<UiAction> &actions)
{
    QStringList names;
    for (const UiAction &action : actions)
        names.append(action.isDivider() ? QStringLiteral("-") : action.action);
    return names;
}

} // namespace

class TestTaskPresentation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusLine_data()
    {
        QTest::addColumn<TaskSnapshot>("task");
        QTest::addColumn<QString>("expected");

        TaskSnapshot task = snapshot(TaskStatus::Queued);
        QTest::newRow("queued, no stage") << task << QStringLiteral("Waiting\u2026");
        task.stage = QStringLiteral("Waiting");
        QTest::newRow("queued after resume or retry") << task << QStringLiteral("Waiting");
        task.stage = QStringLiteral("Resuming after restart");
        QTest::newRow("queued after restart") << task << QStringLiteral("Resuming after restart");

        task = snapshot(TaskStatus::Processing);
        QTest::newRow("processing, no stage") << task << QStringLiteral("Processing\u2026");
        task.stage = QStringLiteral("Merging formats");
        QTest::newRow("processing with stage") << task << QStringLiteral("Merging formats");

        task = snapshot(TaskStatus::Downloading);
        QTest::newRow("downloading, nothing known yet") << task << QStringLiteral("0%");
        task.progress = 0.42;
        task.currentBytes = 12'300'000;
        task.totalBytes = 45'600'000;
        task.speed = 1'200'000;
        task.eta = 27;
        task.stage = QStringLiteral("Downloading");
        QTest::newRow("downloading, everything known")
            << task
            << QStringLiteral("42% \u00b7 12.3 MB of 45.6 MB \u00b7 1.2 MB/s \u00b7 ETA 0:27 \u00b7 Downloading");
        task.totalBytes.reset();
        task.speed.reset();
        task.stage.clear();
        QTest::newRow("no total") << task << QStringLiteral("42% \u00b7 12.3 MB \u00b7 ETA 0:27");
        task.eta = 0;
        QTest::newRow("ETA 0") << task << QStringLiteral("42% \u00b7 12.3 MB \u00b7 ETA \u2014");
        task.eta = 3723;
        QTest::newRow("ETA 3723") << task << QStringLiteral("42% \u00b7 12.3 MB \u00b7 ETA 1:02:03");
        task.eta.reset();
        task.speed = 0.5;
        QTest::newRow("speed below a byte") << task << QStringLiteral("42% \u00b7 12.3 MB \u00b7 \u2014/s");
        task.speed = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("speed NaN") << task << QStringLiteral("42% \u00b7 12.3 MB");
        task.speed = std::numeric_limits<double>::infinity();
        QTest::newRow("speed infinite") << task << QStringLiteral("42% \u00b7 12.3 MB");
        task.speed = -5;
        QTest::newRow("speed negative") << task << QStringLiteral("42% \u00b7 12.3 MB");
        task.speed.reset();
        task.progress = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("progress NaN") << task << QStringLiteral("0% \u00b7 12.3 MB");
        task.progress = 0.995;
        QTest::newRow("progress 0.995") << task << QStringLiteral("99% \u00b7 12.3 MB");

        task = snapshot(TaskStatus::Paused);
        task.progress = 0.379;
        QTest::newRow("paused") << task
                                << QStringLiteral("Paused at 37% \u2014 resume continues from the partial file");

        task = snapshot(TaskStatus::Completed);
        QTest::newRow("completed, nothing known") << task << QStringLiteral("Done");
        task.finalSize = 0;
        QTest::newRow("completed, size 0") << task << QStringLiteral("Done \u00b7 \u2014");
        task.finalSize = 45'600'000;
        task.error = QStringLiteral("2 of 12 items failed");
        task.firstFile = QStringLiteral("/home/me/Downloads/A video [x].mp4");
        QTest::newRow("completed, everything")
            << task << QStringLiteral("Done \u00b7 45.6 MB \u00b7 2 of 12 items failed \u00b7 A video [x].mp4");

        task = snapshot(TaskStatus::Failed);
        QTest::newRow("failed without error") << task << QStringLiteral("Failed");
        task.error = QStringLiteral("HTTP Error 404: Not Found\nSecond line");
        QTest::newRow("failed with error") << task << QStringLiteral("HTTP Error 404: Not Found\nSecond line");

        QTest::newRow("cancelled") << snapshot(TaskStatus::Cancelled) << QStringLiteral("Cancelled");
    }

    void statusLine()
    {
        QFETCH(TaskSnapshot, task);
        QFETCH(QString, expected);
        QCOMPARE(TaskPresentation::of(task).statusLine, expected);
    }

    // Products with 100 that land just below the whole number in binary keep their percent.
    void percentCutsWithTolerance_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<int>("percent");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double infinity = std::numeric_limits<double>::infinity();
        const QList<std::pair<double, int>> rows = {{0, 0},      {0.29, 29},  {0.57, 57},    {0.58, 58},
                                                    {0.379, 37}, {0.425, 42}, {0.995, 99},   {0.9999, 99},
                                                    {1.0, 100},  {nan, 0},    {infinity, 0}, {-infinity, 0}};
        for (const auto &[fraction, percent] : rows)
            QTest::addRow("%g", fraction) << fraction << percent;
    }

    void percentCutsWithTolerance()
    {
        QFETCH(double, fraction);
        QFETCH(int, percent);
        QCOMPARE(wholePercent(fraction), percent);
        QCOMPARE(percentText(fraction), QString::number(percent) + QLatin1Char('%'));
    }

    void controlsAndMenu_data()
    {
        QTest::addColumn<TaskStatus>("status");
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QStringList>("menu");

        const QStringList menu = {QStringLiteral("moveUp"), QStringLiteral("moveDown"), QStringLiteral("-"),
                                  QStringLiteral("showLog"), QStringLiteral("copyLink")};
        QStringList menuWithFile = menu;
        menuWithFile.insert(4, QStringLiteral("reveal"));
        const auto list = [](const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); };

        for (const bool withFile : {false, true}) {
            const QStringList expectedMenu = withFile ? menuWithFile : menu;
            const char *suffix = withFile ? ", with file" : "";
            QTest::addRow("queued%s", suffix)
                << TaskStatus::Queued << withFile << list("pause cancel showLog remove") << expectedMenu;
            QTest::addRow("downloading%s", suffix)
                << TaskStatus::Downloading << withFile << list("pause cancel showLog remove") << expectedMenu;
            QTest::addRow("processing%s", suffix)
                << TaskStatus::Processing << withFile << list("pause cancel showLog remove") << expectedMenu;
            QTest::addRow("paused%s", suffix)
                << TaskStatus::Paused << withFile << list("resume cancel showLog remove") << expectedMenu;
            QTest::addRow("failed%s", suffix)
                << TaskStatus::Failed << withFile << list("retry showLog remove") << expectedMenu;
            QTest::addRow("cancelled%s", suffix)
                << TaskStatus::Cancelled << withFile << list("retry showLog remove") << expectedMenu;
        }
        QTest::newRow("completed") << TaskStatus::Completed << false << list("showLog remove") << menu;
        QTest::newRow("completed, with file")
            << TaskStatus::Completed << true << list("reveal showLog remove") << menuWithFile;
    }

    void controlsAndMenu()
    {
        QFETCH(TaskStatus, status);
        QFETCH(bool, withFile);
        QFETCH(QStringList, controls);
        QFETCH(QStringList, menu);
        TaskSnapshot task = snapshot(status);
        if (withFile)
            task.firstFile = QStringLiteral("/tmp/file.mp4");
        const TaskPresentation row = TaskPresentation::of(task);
        QCOMPARE(actionsOf(row.controls), controls);
        QCOMPARE(actionsOf(row.menu), menu);
        QCOMPARE(row.showsProgress, !TaskStatuses::isFinished(status));
    }

    void labelsSymbolsAndTexts()
    {
        TaskSnapshot task = snapshot(TaskStatus::Completed);
        task.firstFile = QStringLiteral("/tmp/file.mp4");
        const TaskPresentation done = TaskPresentation::of(task);
        QCOMPARE(done.status, (StatusLabel{QStringLiteral("Completed"), QStringLiteral("checkmark.circle.fill"),
                                           QStringLiteral("green")}));
        QCOMPARE(done.controls.first(), (UiAction{QStringLiteral("magnifyingglass"), QStringLiteral("Show in Folder"),
                                                  QStringLiteral("reveal")}));
        QCOMPARE(done.menu[4].text, QStringLiteral("Show in Folder"));
        QCOMPARE(done.statusLineColor, QStringLiteral("secondary"));

        const TaskPresentation failed = TaskPresentation::of(snapshot(TaskStatus::Failed));
        QCOMPARE(failed.status.color, QStringLiteral("red"));
        QCOMPARE(failed.statusLineColor, QStringLiteral("red"));
        QCOMPARE(TaskPresentation::of(snapshot(TaskStatus::Paused)).status.color, QStringLiteral("orange"));
        QCOMPARE(TaskPresentation::of(snapshot(TaskStatus::Downloading)).status.color, QStringLiteral("accent"));
    }

    void playlistPositionFromTwoItems()
    {
        TaskSnapshot task = snapshot(TaskStatus::Downloading);
        QCOMPARE(TaskPresentation::of(task).itemText, QString());
        task.itemIndex = 3;
        task.itemCount = 12;
        QCOMPARE(TaskPresentation::of(task).itemText, QStringLiteral("3/12"));
    }

    void progressKeptFinite()
    {
        TaskSnapshot task = snapshot(TaskStatus::Downloading);
        task.progress = std::numeric_limits<double>::infinity();
        QCOMPARE(TaskPresentation::of(task).progress, 0.0);
        task.progress = 0.5;
        QCOMPARE(TaskPresentation::of(task).progress, 0.5);
    }

    void thumbnailOnlyOverHttp_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("https") << QStringLiteral("https://i.example.com/vi/1/hq.jpg")
                               << QStringLiteral("https://i.example.com/vi/1/hq.jpg");
        QTest::newRow("http upper case") << QStringLiteral("HTTP://i.example.com/a.jpg")
                                         << QStringLiteral("http://i.example.com/a.jpg");
        QTest::newRow("file link to a device") << QStringLiteral("file:///dev/zero") << QString();
        QTest::newRow("data") << QStringLiteral("data:image/png;base64,AAAA") << QString();
        QTest::newRow("no host") << QStringLiteral("https:///a.jpg") << QString();
        QTest::newRow("not a link") << QStringLiteral("hq.jpg") << QString();
    }

    void thumbnailOnlyOverHttp()
    {
        QFETCH(QString, link);
        QFETCH(QString, loaded);
        TaskSnapshot task = snapshot(TaskStatus::Queued);
        task.thumbnail = link;
        QCOMPARE(TaskPresentation::of(task).thumbnail, loaded);
        task.thumbnail.reset();
        QCOMPARE(TaskPresentation::of(task).thumbnail, QString());
        QCOMPARE(TaskPresentation::of(task).placeholderIcon, QStringLiteral("film"));
        task.audioOnly = true;
        QCOMPARE(TaskPresentation::of(task).placeholderIcon, QStringLiteral("music.note"));
    }
};

QTEST_APPLESS_MAIN(TestTaskPresentation)
#include "tst_taskpresentation.moc"
