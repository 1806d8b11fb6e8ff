// The Download screen over a fetched playlist of 6 000 entries (a stand-in yt-dlp answers a JSON
// listing): how soon the form is on screen after the loaded state, how long Select All, None and
// one tick take to reach the screen, how many entry rows exist, and the longest frame while a
// link is typed. Run under xvfb-run (or with QT_QPA_PLATFORM=offscreen); build with
// `cmake --build build --target benchmarks`.
#include "AppStateRig.h"
#include "FakeYtDlp.h"
#include "QmlHarness.h"
#include "ui/downloader/DownloadScreenModel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int entryCount = 6000;

QByteArray listing()
{
    QJsonArray entries;
    for (int i = 1; i <= entryCount; ++i) {
        entries.append(QJsonObject{{QStringLiteral("title"), QStringLiteral("Session recording number %1").arg(i)},
                                   {QStringLiteral("duration"), 60 + i % 600}});
    }
    return FakeYtDlp::listing(entries, QStringLiteral("Six thousand"));
}

// Milliseconds from `action` to the end of the frame that shows it; -1 when no frame came.
double toScreen(QQuickWindow *window, const std::function<void()> &action)
{
    QElapsedTimer clock;
    bool swapped = false;
    const QMetaObject::Connection connection =
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [&swapped] { swapped = true; });
    clock.start();
    action();
    window->requestUpdate();
    const bool shown = QTest::qWaitFor([&swapped] { return swapped; }, 5000);
    QObject::disconnect(connection);
    return shown ? double(clock.nsecsElapsed()) / 1e6 : -1;
}

int countNamed(const QQuickItem *item, const QString &name)
{
    int count = item->objectName() == name ? 1 : 0;
    for (const QQuickItem *child : item->childItems())
        count += countNamed(child, name);
    return count;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QmlHarness::prepareApplication();
    AppStateRig rig;
    if (!rig.makeReady())
        return 1;
    AppState &state = *rig.state;
    // No delayed fetch of the field: a second load in the middle would measure a new form.
    DownloadScreenModel model(state, 3'600'000);
    QmlHarness harness;
    std::unique_ptr<QObject> object(
        harness.create(QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/DownloadFormPage.qml")),
                       {{QStringLiteral("model"), QVariant::fromValue(&model)}}));
    auto *window = qobject_cast<QQuickWindow *>(object.get());
    if (!window)
        return 1;
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;

    // From the loaded state to the first frame that shows the form.
    QElapsedTimer sinceLoaded;
    double formShown = -1;
    QObject::connect(&state, &AppState::fetchStateChanged, window, [&] {
        if (state.fetchState().kind == FetchState::Kind::Loaded)
            sinceLoaded.start();
    });
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [&] {
        if (sinceLoaded.isValid() && formShown < 0)
            formShown = double(sinceLoaded.nsecsElapsed()) / 1e6;
    });
    if (!rig.fetchCanned(listing()))
        return 1;
    if (!QTest::qWaitFor([&formShown] { return formShown >= 0; }, 5000))
        return 1;
    std::printf("form on screen after the loaded state: %.1f ms\n", formShown);

    PlaylistEntryModel *entries = model.form()->entries();
    std::printf("Select None: %.1f ms\n", toScreen(window, [entries] { entries->selectNone(); }));
    std::printf("Select All: %.1f ms\n", toScreen(window, [entries] { entries->selectAll(); }));
    std::printf("one tick: %.1f ms\n", toScreen(window, [entries] { entries->setChecked(2, false); }));
    std::printf("entry rows built: %d of %d\n", countNamed(window->contentItem(), QStringLiteral("entryCheck")),
                entryCount);

    // Typing a link into the field, one key each 40 ms, the frames timed from key to screen.
    auto *field = window->findChild<QQuickItem *>(QStringLiteral("linkField"));
    if (!field)
        return 1;
    field->forceActiveFocus();
    // Key-to-screen includes the wait for the next frame; the key's own handling is timed apart.
    double longest = 0;
    double longestHandling = 0;
    for (const QChar c : QStringLiteral("https://media.example/playlist?list=abc")) {
        longest = std::max(longest, toScreen(window, [&] {
                               QElapsedTimer handling;
                               handling.start();
                               QTest::keyClick(window, c.toLatin1());
                               longestHandling = std::max(longestHandling, double(handling.nsecsElapsed()) / 1e6);
                           }));
        QTest::qWait(40);
    }
    std::printf("typing: longest key-to-screen %.1f ms, longest key handling %.1f ms\n", longest, longestHandling);
    return 0;
}
