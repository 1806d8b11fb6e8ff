// Figures for the downloader screens' view models (the C++ side; bench_app measures the screens
// as they render in the application):
//   queue    1 000 tasks, the first 8 downloading and changing progress, speed and time left
//            10 times a second for 10 s, the first 20 rows read as a view would: main-thread CPU
//            time per second and the row updates sent.
//   log      opening the log sheet on a 50 MB log: the longest gap between ticks of a 5 ms timer
//            on the main thread, and the time until the text is there.
//   history  6 000 entries: reading the first 15 rows, then each keystroke of a search.
// Runs in a temporary home of its own; build with `cmake --build build --target benchmarks`.
#include "BenchFixtures.h"
#include "ProgressTicker.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadOptions.h"
#include "engine/HistoryStore.h"
#include "platform/DesktopServices.h"
#include "ui/downloader/DownloadQueueModel.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/downloader/LogSheetModel.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace {

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void readRows(const QAbstractItemModel &model, int rows)
{
    for (int row = 0; row < std::min(rows, model.rowCount()); ++row) {
        for (const int role : model.roleNames().keys())
            (void)model.data(model.index(row, 0), role);
    }
}

void queueFigure(DesktopServices &desktop)
{
    HistoryStore history;
    DownloadManager downloads(&history);
    for (int index = 0; index < 1000; ++index)
        downloads.enqueue(BenchFixtures::request(index));
    DownloadQueueModel model(&downloads, &desktop);
    readRows(model, 20);
    int updates = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, &model, [&] { ++updates; });

    ProgressTicker progress(downloads.tasks().mid(0, 8));
    QEventLoop loop;
    QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
    const double start = threadCpuSeconds();
    progress.start();
    loop.exec();
    const double cpu = threadCpuSeconds() - start;
    std::printf("queue:   %.1f ms main-thread CPU per second, %d row updates in 10 s (%d progress ticks)\n", cpu * 100,
                updates, progress.ticks());
}

void logFigure(DesktopServices &desktop)
{
    const QUuid id = QUuid::createUuid();
    BenchFixtures::writeLog(id, 50'000'000);
    LogSheetModel sheet(&desktop);
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, &ticks, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
    });
    QEventLoop loop;
    QObject::connect(&sheet, &LogSheetModel::textChanged, &loop, [&] {
        if (!sheet.text().isEmpty())
            loop.quit();
    });
    clock.start();
    ticks.start();
    sheet.open(QUuid(id).toString(QUuid::WithoutBraces).toUpper());
    loop.exec();
    const qint64 shown = clock.elapsed();
    longestGap = std::max(longestGap, shown - lastTick);
    std::printf("log:     50 MB log shown after %lld ms (%d blocks), longest gap between 5 ms ticks %lld ms\n", shown,
                sheet.rowCount(), longestGap);
}

void historyFigure(DesktopServices &desktop)
{
    BenchFixtures::writeHistory(6000);

    HistoryStore history;
    history.load();
    DownloadManager downloads(&history);
    HistoryViewModel model(&history, &downloads, &desktop);
    QElapsedTimer clock;
    clock.start();
    readRows(*model.items(), 15);
    const double firstRows = clock.nsecsElapsed() / 1e6;
    double slowest = 0;
    QString typed;
    for (const QChar c : QStringLiteral("number 59")) {
        typed += c;
        clock.restart();
        model.setSearch(typed);
        readRows(*model.items(), 15);
        slowest = std::max(slowest, clock.nsecsElapsed() / 1e6);
    }
    std::printf("history: first 15 rows of 6 000 in %.1f ms; slowest search keystroke %.1f ms (%d matches)\n",
                firstRows, slowest, model.items()->rowCount());
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    BenchFixtures::useHome(home.path());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/XDG_CONFIG_HOME"));
    DesktopServices desktop;
    queueFigure(desktop);
    logFigure(desktop);
    historyFigure(desktop);
    return 0;
}
