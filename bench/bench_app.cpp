// The whole application in this process, built as main.cpp builds it (libmpv with MORVANE_AO,
// "null" unless set), over a long-used installation: the library benchmark's full library, 1 000
// finished or paused downloads, 6 000 history entries, and tools that pass the start-up check.
// Scenes render on the main thread (QSG_RENDER_LOOP=basic), so its CPU time includes them.
// Run under xvfb-run (bench/startup does); one figure per run:
//   bench_app fixtures    writes that installation into the support folder the environment names
//   bench_app idle [S]    CPU over S seconds (default 60) once the shown window has settled for
//                         10 s, the frames drawn, and every timer that still fired
//   bench_app drop        500 links dropped on the window: how many reach the queue, the longest
//                         stall of the main thread and the longest time between frames
//   bench_app queue       8 downloads on screen changing 10 times a second for 10 s: main-thread
//                         CPU per second and the task rows created or destroyed meanwhile
//   bench_app log         the log sheet opened on a 50 MB log: the time until its text shows and
//                         the longest gap between ticks of a 5 ms timer meanwhile
//   bench_app memory      resident memory at each step of the start (the application made,
//                         its window loaded, shown, settled for 10 s) and its largest mappings
//   bench_app pieces      the heap each stored collection takes once loaded, alone: history, queue,
//                         library, and an idle libmpv core
//   bench_app history     switching to 6 000 history entries, each keystroke of a search, and
//                         scrolling the list: times to the next frame and the rows built
//   bench_app artwork     200 songs with 1280×720 pictures (served on 127.0.0.1) played one after
//                         the other with Now Playing open: how much resident memory grew
// Build with `cmake --build build --target benchmarks`.
#include "BenchFixtures.h"
#include "MemoryReport.h"
#include "ProgressTicker.h"
#include "TestHttpServer.h"
#include "core/AppPaths.h"
#include "core/FreedMemory.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "music/LibraryStore.h"
#include "platform/MpvAudio.h"
#include "shell/MorvaneApp.h"
#include "shell/QmlSetup.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

namespace {

constexpr int queueTasks = 1000;
constexpr int historyEntries = 6000;

double cpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Named, so the timer census tells it from the application's own.
void wait(int ms)
{
    QEventLoop loop;
    QTimer timer;
    timer.setObjectName(QStringLiteral("benchmark's wait"));
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}

// Runs the event loop until `done` holds or `ms` have passed; whether it holds.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// The longest gap between ticks of a 5 ms timer: how long the main thread was kept from its events.
class StallWatch
{
public:
    StallWatch()
    {
        m_ticks.setInterval(5);
        QObject::connect(&m_ticks, &QTimer::timeout, &m_ticks, [this] { tick(); });
        m_clock.start();
        m_ticks.start();
    }
    [[nodiscard]] qint64 longest()
    {
        tick();
        return m_longest;
    }

private:
    void tick()
    {
        m_longest = std::max(m_longest, m_clock.elapsed() - m_last);
        m_last = m_clock.elapsed();
    }
    QTimer m_ticks;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// The frames a window draws: how many, the longest time between two, and waiting for the next.
class FrameClock
{
public:
    explicit FrameClock(QQuickWindow *window)
        : m_window(window)
    {
        m_clock.start();
        m_connection = QObject::connect(window, &QQuickWindow::frameSwapped, window, [this] {
            const qint64 now = m_clock.elapsed();
            if (m_frames > 0)
                m_longest = std::max(m_longest, now - m_last);
            m_last = now;
            ++m_frames;
        });
    }
    ~FrameClock() { QObject::disconnect(m_connection); }

    [[nodiscard]] int frames() const { return m_frames; }
    [[nodiscard]] qint64 longest() const { return m_longest; }
    // Milliseconds until the next frame is on screen; -1 when none comes within a second.
    double untilNextFrame()
    {
        QElapsedTimer clock;
        clock.start();
        const int before = m_frames;
        m_window->update();
        if (!waitFor([&] { return m_frames > before; }, 1000))
            return -1;
        return clock.nsecsElapsed() / 1e6;
    }

private:
    QQuickWindow *m_window;
    QMetaObject::Connection m_connection;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    int m_frames = 0;
};

// Every timer event the main thread delivers, counted by what received it, and the other events
// by their type.
class TimerCensus final : public QObject
{
public:
    TimerCensus() { qApp->installEventFilter(this); }
    ~TimerCensus() override { qApp->removeEventFilter(this); }

    void print() const
    {
        std::vector<std::pair<int, QString>> rows;
        for (const auto &[name, count] : m_counts)
            rows.emplace_back(count, name);
        std::sort(rows.rbegin(), rows.rend());
        for (const auto &[count, name] : rows)
            std::printf("    %5d × %s\n", count, qPrintable(name));
        if (rows.empty())
            std::printf("    (no timer fired)\n");
        std::printf("  other events:");
        for (const auto &[type, count] : m_otherEvents)
            std::printf(" %d × type %d;", count, type);
        std::printf("\n");
    }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ++m_counts[describe(receiver)];
        else
            ++m_otherEvents[int(event->type())];
        return false;
    }

private:
    static QString describe(const QObject *object)
    {
        QString name = QLatin1String(object->metaObject()->className());
        if (!object->objectName().isEmpty())
            name += QStringLiteral(" \"%1\"").arg(object->objectName());
        if (const auto *timer = qobject_cast<const QTimer *>(object))
            name += QStringLiteral(" every %1 ms").arg(timer->interval());
        if (const QObject *parent = object->parent()) {
            name += QStringLiteral(", in ") + QLatin1String(parent->metaObject()->className());
            if (!parent->objectName().isEmpty())
                name += QStringLiteral(" \"%1\"").arg(parent->objectName());
        }
        return name;
    }
    std::map<QString, int> m_counts;
    std::map<int, int> m_otherEvents;
};

// The music window's downloads screen, on the downloader tab `tab`.
void showDownloads(MorvaneApp &morvane, SidebarItem tab)
{
    morvane.state().setRoute(Route{Route::Kind::Downloads, {}});
    morvane.state().setSelection(tab);
}

QQuickItem *listContent(QQuickWindow *window, const char *name)
{
    auto *list = window->findChild<QQuickItem *>(QLatin1String(name));
    return list ? list->property("contentItem").value<QQuickItem *>() : nullptr;
}

// Rows a list has built and shows; pooled rows wait hidden.
int shownRows(QQuickItem *content)
{
    const QList<QQuickItem *> children = content->childItems();
    return int(std::count_if(children.cbegin(), children.cend(), [](QQuickItem *item) { return item->isVisible(); }));
}

void idleFigure(MorvaneApp &morvane, int seconds)
{
    wait(10'000);
    FrameClock frames(morvane.shell().mainWindow());
    TimerCensus census;
    const double process = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double mainThread = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    wait(seconds * 1000);
    std::printf("idle:    %.1f ms process CPU (%.1f ms main thread) over %d s, %d frames drawn; timers that fired:\n",
                (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process) * 1000,
                (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainThread) * 1000, seconds, frames.frames());
    census.print();
}

void dropFigure(MorvaneApp &morvane)
{
    QQuickWindow *window = morvane.shell().mainWindow();
    wait(3000);
    QList<QUrl> links;
    for (int n = 0; n < 500; ++n)
        links.append(QUrl(QStringLiteral("http://127.0.0.1:9/drop/%1.mp4").arg(n)));
    QMimeData data;
    data.setUrls(links);

    FrameClock frames(window);
    StallWatch stalls;
    QElapsedTimer clock;
    clock.start();
    const QPoint middle(window->width() / 2, window->height() / 2);
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDragMoveEvent move(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &move);
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    const qint64 handled = clock.elapsed();
    wait(3000);
    const QList<DownloadTask *> tasks = morvane.state().downloads().tasks();
    const auto dropped = std::count_if(tasks.cbegin(), tasks.cend(), [](const DownloadTask *task) {
        return task->options().url.startsWith(QLatin1String("http://127.0.0.1:9/drop/"));
    });
    std::printf("drop:    500 links, %lld in the queue; the drop took %lld ms; longest main-thread stall %lld ms; "
                "longest time between frames %lld ms (%d frames in 3 s)\n",
                static_cast<long long>(dropped), handled, stalls.longest(), frames.longest(), frames.frames());
}

void queueFigure(MorvaneApp &morvane)
{
    QQuickWindow *window = morvane.shell().mainWindow();
    showDownloads(morvane, SidebarItem::Queue);
    QQuickItem *content = nullptr;
    waitFor([&] { return (content = listContent(window, "queueList")) && shownRows(content) > 0; }, 10'000);
    if (!content) {
        std::printf("queue:   the list did not show\n");
        return;
    }
    wait(2000);
    const QList<DownloadTask *> running = morvane.state().downloads().tasks().mid(0, 8);
    ProgressTicker progress(running);
    FrameClock frames(window);
    frames.untilNextFrame();
    int rowChanges = 0;
    QObject::connect(content, &QQuickItem::childrenChanged, content, [&rowChanges] { ++rowChanges; });

    const double start = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const int framesBefore = frames.frames();
    progress.start();
    wait(10'000);
    progress.stop();
    const double cpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - start;
    std::printf("queue:   %.1f ms main-thread CPU per second, rendering included, %d frames in 10 s; %d rows shown, "
                "%d rows created or destroyed after the first frame\n",
                cpu * 100, frames.frames() - framesBefore, shownRows(content), rowChanges);
    // Nothing runs them: back to where the queue file had them before the application quits.
    for (DownloadTask *task : running)
        task->setStatus(TaskStatus::Paused);
}

// A 1280×720 JPEG of its own for each song, as the video site serves its largest pictures.
QByteArray songPicture(int n)
{
    QImage image(1280, 720, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1280, 720);
    gradient.setColorAt(0, QColor::fromHsv(n * 7 % 360, 200, 230));
    gradient.setColorAt(1, QColor::fromHsv(n * 13 % 360, 160, 60));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

void artworkFigure(MorvaneApp &morvane, TestHttpServer &images)
{
    constexpr int songs = 200;
    AppState &state = morvane.state();
    state.setShowNowPlaying(true);
    wait(2000);
    const double before = MemoryReport::residentMegabytes();
    int shown = 0;
    for (int n = 0; n < songs; ++n) {
        Track track;
        track.id = QStringLiteral("artwork%1").arg(n, 4, 10, QLatin1Char('0'));
        track.title = QStringLiteral("Song %1").arg(n);
        track.artist = QStringLiteral("Artist %1").arg(n % 20);
        images.serveText(QStringLiteral("/vi/%1/maxresdefault.jpg").arg(track.id), songPicture(n), "image/jpeg");
        state.player().play(track);
        const QUrl picture = track.artwork(true).constFirst();
        if (waitFor([&] { return !state.artwork().cached(picture).isNull(); }, 5000))
            ++shown;
        wait(100); // drawn on the player bar and Now Playing
    }
    wait(2000);
    const double after = MemoryReport::residentMegabytes();
    std::printf("artwork: %d songs, %d pictures shown; RSS %.1f MB before, %.1f MB after: grew %.1f MB; "
                "%d pictures cached\n",
                songs, shown, before, after, after - before, state.artwork().cachedCount());
}

void logFigure(MorvaneApp &morvane, const QUuid &task)
{
    QQuickWindow *window = morvane.shell().mainWindow();
    showDownloads(morvane, SidebarItem::Queue);
    QObject *sheet = nullptr;
    waitFor([&] { return (sheet = window->findChild<QObject *>(QStringLiteral("logSheet"))); }, 10'000);
    if (!sheet) {
        std::printf("log:     no log sheet\n");
        return;
    }
    wait(2000);
    FrameClock frames(window);
    StallWatch stalls;
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(sheet, "show", Q_ARG(QVariant, task.toString(QUuid::WithoutBraces).toUpper()));
    QQuickItem *blocks = nullptr;
    waitFor(
        [&] {
            blocks = sheet->findChild<QQuickItem *>(QStringLiteral("logBlocks"));
            return blocks && blocks->property("count").toInt() > 0;
        },
        30'000);
    frames.untilNextFrame();
    std::printf("log:     50 MB log shown after %lld ms (%d blocks); longest main-thread stall %lld ms\n",
                clock.elapsed(), blocks ? blocks->property("count").toInt() : 0, stalls.longest());
}

void historyFigure(MorvaneApp &morvane)
{
    QQuickWindow *window = morvane.shell().mainWindow();
    showDownloads(morvane, SidebarItem::Queue);
    wait(2000);
    FrameClock frames(window);
    QElapsedTimer clock;
    clock.start();
    showDownloads(morvane, SidebarItem::History);
    QQuickItem *content = nullptr;
    waitFor([&] { return (content = listContent(window, "historyList")) && shownRows(content) > 0; }, 10'000);
    frames.untilNextFrame();
    const double switched = clock.nsecsElapsed() / 1e6;
    if (!content) {
        std::printf("history: the list did not show\n");
        return;
    }

    auto *model = window->property("history").value<HistoryViewModel *>();
    double slowestFilter = 0, slowestFrame = 0;
    QString typed;
    for (const QChar c : QStringLiteral("number 59")) {
        typed += c;
        clock.restart();
        model->setSearch(typed);
        slowestFilter = std::max(slowestFilter, clock.nsecsElapsed() / 1e6);
        frames.untilNextFrame();
        slowestFrame = std::max(slowestFrame, clock.nsecsElapsed() / 1e6);
    }
    const int matches = model->items()->rowCount();
    model->setSearch(QString());
    frames.untilNextFrame();

    auto *list = window->findChild<QQuickItem *>(QStringLiteral("historyList"));
    const int inView = shownRows(content);
    int mostShown = inView;
    int rowChanges = 0;
    QObject::connect(content, &QQuickItem::childrenChanged, content, [&rowChanges] { ++rowChanges; });
    for (int step = 1; step <= 60; ++step) {
        list->setProperty("contentY", list->property("originY").toDouble() + step * 400.0);
        frames.untilNextFrame();
        mostShown = std::max(mostShown, shownRows(content));
    }
    std::printf("history: first frame %.1f ms after switching to %d entries; slowest search keystroke: filtered in "
                "%.1f ms, drawn after %.1f ms (%d matches); scrolling 24 000 px: at most %d rows shown (%d at the "
                "start), %d rows created or destroyed\n",
                switched, historyEntries, slowestFilter, slowestFrame, matches, mostShown, inView, rowChanges);
}

// Each collection made after the last, so each line's growth is that collection's.
void piecesFigure()
{
    MemoryReport::printStage("nothing loaded");
    HistoryStore history;
    history.load();
    MemoryReport::printStage("history loaded");
    DownloadManager queue(&history);
    MemoryReport::printStage("queue loaded");
    LibraryStore library;
    MemoryReport::printStage("library loaded");
    MpvAudio audio;
    audio.listOutputs(); // the core is made on first use
    MemoryReport::printStage("libmpv core made");
    wait(1000);
    MemoryReport::printStage("a second later");
}

// Returns the first task's id.
QUuid writeFixtures()
{
    BenchFixtures::writeLibrary();
    BenchFixtures::writeHistory(historyEntries);
    BenchFixtures::writeTools();
    return BenchFixtures::writeQueue(queueTasks);
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const QStringList modes{QStringLiteral("fixtures"), QStringLiteral("idle"),   QStringLiteral("drop"),
                            QStringLiteral("queue"),    QStringLiteral("log"),    QStringLiteral("history"),
                            QStringLiteral("memory"),   QStringLiteral("pieces"), QStringLiteral("artwork")};
    if (!modes.contains(QString::fromLatin1(mode))) {
        std::fprintf(stderr, "usage: bench_app fixtures|idle [SECONDS]|drop|queue|log|history|memory|pieces|artwork\n");
        return 2;
    }
    if (mode == "fixtures") {
        QCoreApplication app(argc, argv);
        writeFixtures();
        return 0;
    }

    // As the application's own main() does.
    keepLargeBlocksMapped();
    QTemporaryDir home;
    BenchFixtures::useHome(home.path());
    // Update checks and tool downloads ask a closed local port.
    qputenv("MORVANE_TOOL_MIRROR", "http://127.0.0.1:9");
    if (qEnvironmentVariableIsEmpty("MORVANE_AO"))
        qputenv("MORVANE_AO", "null");
    qputenv("QSG_RENDER_LOOP", "basic");

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Pictures from a local server; song look-ups ask a closed local port.
    std::optional<TestHttpServer> images;
    if (mode == "artwork") {
        images.emplace();
        qputenv("MORVANE_IMAGE_HOST", images->url(QStringLiteral("/")).toString(QUrl::StripTrailingSlash).toUtf8());
        qputenv("MORVANE_VIDEO_SITE", "http://127.0.0.1:9");
    }
    const QUuid first = writeFixtures();
    if (mode == "log")
        BenchFixtures::writeLog(first, 50'000'000);
    if (mode == "pieces") {
        malloc_trim(0);
        piecesFigure();
        return 0;
    }
    const bool memory = mode == "memory";
    QmlSetup::prepareApplication();
    if (memory) {
        // The fixtures' own garbage back to the system, so it does not hide what the start costs.
        malloc_trim(0);
        MemoryReport::printStage("application and style");
    }
    MorvaneApp morvane;
    if (memory)
        MemoryReport::printStage("services and view models made");
    if (!morvane.start())
        return 1;
    if (memory)
        MemoryReport::printStage("main window loaded, hidden");
    morvane.shell().showMainWindow();
    if (!waitFor([&] { return morvane.state().setupDone(); }, 60'000)) {
        std::fprintf(stderr, "bench_app: the start-up check did not pass\n");
        return 1;
    }
    if (memory) {
        MemoryReport::printStage("shown, start-up check passed");
        wait(10'000);
        MemoryReport::printStage("settled for 10 s");
        MemoryReport::printMappings(25);
    }

    if (mode == "idle")
        idleFigure(morvane, argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 60);
    else if (mode == "drop")
        dropFigure(morvane);
    else if (mode == "queue")
        queueFigure(morvane);
    else if (mode == "log")
        logFigure(morvane, first);
    else if (mode == "history")
        historyFigure(morvane);
    else if (mode == "artwork")
        artworkFigure(morvane, *images);
    std::fflush(stdout);

    // Out through the application's own quit path, which ends the downloads it started.
    QTimer::singleShot(0, &morvane, [&morvane] { morvane.quitController().quitUnasked(); });
    return QApplication::exec();
}
