// The Home screen over the library benchmark's full library (4 000 songs, 6 000 plays, 50
// playlists): the time from the route becoming Home to the first frame drawn with it, warm
// (median of 20 showings, each coming from Explore); the time until the sections that showing
// asks for are ranked again; and apart from both the engine's refresh alone. Run under xvfb-run
// (or with QT_QPA_PLATFORM=offscreen); build with `cmake --build build --target benchmarks`.
#include "BenchLibrary.h"
#include "FrameClock.h"
#include "MusicShellScreen.h"

#include <QGuiApplication>
#include <QQuickWindow>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QmlHarness::prepareApplication();
    qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9"); // covers stay on this machine
    MusicShellScreen screen(QSize(1280, 800), BenchLibrary::build().toJson());
    if (!screen.window)
        return 1;
    AppState &state = *screen.rig.state;
    screen.window->show();
    FrameClock::wait(2000);

    FrameClock clock(screen.window);
    double ranked = -1;
    QObject::connect(&state.engine(), &RecommendationEngine::sectionsChanged, &app,
                     [&ranked, &clock] { ranked = clock.elapsed(); });
    std::vector<double> frames;
    std::vector<double> rankings;
    for (int round = 0; round < 21; ++round) {
        state.setRoute({Route::Kind::Explore, {}});
        FrameClock::wait(300);
        ranked = -1;
        clock.start();
        state.setRoute({Route::Kind::Home, {}});
        const double frame = clock.waitForFrame();
        while (ranked < 0)
            FrameClock::wait(1);
        if (round == 0) // the first showing builds the shelves' types
            continue;
        frames.push_back(frame);
        rankings.push_back(ranked);
        FrameClock::wait(300);
    }
    std::printf("%s\n", clock.describe().constData());
    BenchLibrary::print("Home: route to first frame", frames);
    BenchLibrary::print("Home: route to sections ranked again", rankings);
    BenchLibrary::report("engine refresh (sections rebuilt, nothing counted)", 20,
                         [&state] { state.engine().refresh(false); });
    std::printf("sections: %lld\n", qlonglong(state.engine().sections().size()));
    return 0;
}
