// Liked Songs and Recently Played in a real window over the library benchmark's full library,
// with 6 000 likes (the catalogue widened to 6 000 songs, so every like is another song) beside
// its 6 000 plays:
//   first frame   the time from the route change to the first frame drawn with the screen, warm
//                 (median of 20 showings, each coming from Explore)
//   scroll        the list scrolled end to end half a page at a time, a frame each step: the time
//                 from a step to its frame, the most row delegates alive at once against the rows
//                 in sight plus the cache buffer's, the most alive outside the cache buffer
//                 (built off screen), and how many were made in all
// Run under xvfb-run (or with QT_QPA_PLATFORM=offscreen); build with
// `cmake --build build --target benchmarks`.
#include "BenchLibrary.h"
#include "FrameClock.h"
#include "MusicShellScreen.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>

#include <cmath>
#include <cstdio>

namespace {
using Kind = Route::Kind;

// Every row delegate a list has made so far, and how many it has let go.
struct Delegates
{
    QSet<QQuickItem *> alive;
    int made = 0;
    QObject guard; // ends the watch on rows that outlive the count
};

// Notes the rows the list holds now. Returns how many are in use (the list's item for their row:
// a pooled row is not) and how many of those lie wholly outside the band of `cache` above and
// below the view.
std::pair<int, int> census(QQuickItem *list, Delegates &delegates)
{
    auto *content = list->property("contentItem").value<QQuickItem *>();
    const double top = list->property("contentY").toDouble();
    const double cache = list->property("cacheBuffer").toDouble();
    int inUse = 0;
    int offScreen = 0;
    for (QQuickItem *row : content->childItems()) {
        if (!row->objectName().startsWith(QLatin1String("trackRow")))
            continue;
        if (!delegates.alive.contains(row)) {
            delegates.alive.insert(row);
            ++delegates.made;
            QObject::connect(row, &QObject::destroyed, &delegates.guard,
                             [&delegates, row] { delegates.alive.remove(row); });
        }
        QQuickItem *shown = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, shown),
                                  Q_ARG(int, row->property("index").toInt()));
        if (shown != row)
            continue;
        ++inUse;
        if (row->y() + row->height() < top - cache || row->y() > top + list->height() + cache)
            ++offScreen;
    }
    return {inUse, offScreen};
}

void measure(MusicShellScreen &screen, FrameClock &clock, Kind kind, const char *name)
{
    AppState &state = *screen.rig.state;
    std::vector<double> frames;
    for (int round = 0; round < 21; ++round) {
        state.setRoute({Kind::Explore, {}});
        FrameClock::wait(300);
        clock.start();
        state.setRoute({kind, {}});
        const double frame = clock.waitForFrame();
        if (round > 0) // the first showing builds the screen's types
            frames.push_back(frame);
        FrameClock::wait(200);
    }
    BenchLibrary::print(qPrintable(QStringLiteral("%1: route to first frame").arg(QLatin1String(name))), frames);

    QQuickItem *list = screen.item(QStringLiteral("songList"));
    Delegates delegates;
    census(list, delegates);
    const double end = list->property("originY").toDouble() + list->property("contentHeight").toDouble() +
                       list->property("bottomMargin").toDouble() - list->height();
    const double rowHeight = 52;
    const int bound = int(std::ceil(list->height() / rowHeight)) + 1 +
                      2 * int(std::ceil(list->property("cacheBuffer").toDouble() / rowHeight));
    std::vector<double> steps;
    int mostInUse = 0;
    int mostOffScreen = 0;
    for (double y = list->property("contentY").toDouble(); y < end;) {
        y = std::min(end, y + list->height() / 2);
        clock.start();
        list->setProperty("contentY", y);
        steps.push_back(clock.waitForFrame());
        const auto [inUse, offScreen] = census(list, delegates);
        mostInUse = std::max(mostInUse, inUse);
        mostOffScreen = std::max(mostOffScreen, offScreen);
    }
    BenchLibrary::print(qPrintable(QStringLiteral("%1: scroll step to frame").arg(QLatin1String(name))), steps);
    std::printf("%s: %lld rows, %lld steps; delegates in use at most %d (rows in sight + cache buffer: %d), "
                "off screen at most %d, made %d\n",
                name, qlonglong(list->property("count").toInt()), qlonglong(steps.size()), mostInUse, bound,
                mostOffScreen, delegates.made);
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QmlHarness::prepareApplication();
    qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9"); // covers stay on this machine
    LibraryShape shape;
    shape.catalog = 6000;
    shape.likes = 6000;
    MusicShellScreen screen(QSize(1280, 800), BenchLibrary::build(shape).toJson());
    if (!screen.window)
        return 1;
    screen.window->show();
    FrameClock::wait(2000);
    FrameClock clock(screen.window);
    measure(screen, clock, Kind::Liked, "Liked Songs");
    measure(screen, clock, Kind::Recent, "Recently Played");
    std::printf("%s\n", clock.describe().constData());
    return 0;
}
