#include "AppStateRig.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "TestHttpServer.h"
#include "core/SettingsStore.h"
#include "platform/MpvAudio.h"
#include "ui/music/OutputListModel.h"
#include "ui/music/PlayerBarModel.h"
#include "ui/music/QueuePanelModel.h"

#include <QDir>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

QUrl page(const char *file)
{
    return QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/") + QLatin1String(file));
}

QQuickItem *item(QQuickWindow *window, const char *name)
{
    auto *found = window->findChild<QQuickItem *>(QLatin1String(name));
    if (!found)
        qWarning("no item %s", name);
    return found;
}

QPoint centreOf(QQuickItem *target)
{
    return target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint();
}

void click(QQuickWindow *window, const char *name)
{
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(item(window, name)));
}

} // namespace

// The player controls in real windows: clicks and drags on the controls, and libmpv (null output)
// playing MP3s made by ffmpeg from the local server.
class TestPlayerViews : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    QTemporaryDir m_media;

    struct Shown
    {
        QmlHarness harness;
        std::unique_ptr<QObject> root;
        QQuickWindow *window = nullptr;
    };

    static std::unique_ptr<Shown> show(const char *file, QObject *model)
    {
        auto shown = std::make_unique<Shown>();
        shown->root.reset(shown->harness.create(page(file), {{QStringLiteral("model"), QVariant::fromValue(model)}}));
        shown->window = qobject_cast<QQuickWindow *>(shown->root.get());
        if (shown->window) {
            shown->window->show();
            if (!QTest::qWaitForWindowExposed(shown->window))
                shown->window = nullptr;
        }
        return shown;
    }

    // Songs 0 and 1 resolve to a 120 s MP3 on the local server.
    void serveSongs(AppStateRig &rig)
    {
        for (int n = 0; n < 2; ++n) {
            const Track track = PlayerRig::track(n, 120.0);
            rig.catalog->answers.insert(
                track.id,
                StreamInfo{m_server.url(QStringLiteral("/long.mp3")), {}, track, QDateTime::currentDateTimeUtc()});
        }
    }

    static QList<Track> longSongs() { return {PlayerRig::track(0, 120.0), PlayerRig::track(1, 120.0)}; }

    // Presses the seek slider's thumb, drags it to `seconds` of `duration` and keeps it held there.
    // The pointer moves by whole pixels: aim a little past the second wanted.
    static QPoint holdSeekAt(QQuickWindow *window, double seconds, double duration)
    {
        QQuickItem *slider = item(window, "seekSlider");
        const QPoint start = slider->mapToScene(QPointF(5, slider->height() / 2)).toPoint();
        const double x = 5 + (slider->width() - 10) * (seconds + 0.4) / duration;
        const QPoint end = slider->mapToScene(QPointF(x, slider->height() / 2)).toPoint();
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(window, start + (end - start) * step / 10);
        return end;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("MORVANE_AO", "null");
        QmlHarness::prepareApplication();
        const QString song = m_media.filePath(QStringLiteral("long.mp3"));
        const QStringList arguments{QStringLiteral("-v"),
                                    QStringLiteral("error"),
                                    QStringLiteral("-f"),
                                    QStringLiteral("lavfi"),
                                    QStringLiteral("-i"),
                                    QStringLiteral("sine=frequency=330:sample_rate=22050:duration=120"),
                                    QStringLiteral("-b:a"),
                                    QStringLiteral("32k"),
                                    song};
        QCOMPARE(QProcess::execute(QStringLiteral("ffmpeg"), arguments), 0);
        m_server.serveFile(QStringLiteral("/long.mp3"), song, "audio/mpeg");
    }

    void init() { QmlHarness::failOnWarnings(); }

    void nothingPlayingBarIgnoresClicks()
    {
        AppStateRig rig;
        PlayerBarModel model(*rig.state);
        const auto shown = show("PlayerBarPage.qml", &model);
        QVERIFY(shown->window);
        QVERIFY(item(shown->window, "nothingLabel")->isVisible());
        QVERIFY(!item(shown->window, "likeButton")->isVisible());
        QVERIFY(!item(shown->window, "downloadButton")->isEnabled());
        click(shown->window, "nowPlayingGroup");
        click(shown->window, "playPauseButton");
        click(shown->window, "nextButton");
        QVERIFY(!rig.state->showNowPlaying());
        QVERIFY(!rig.player().isPlaying());
        QVERIFY(rig.player().queue().isEmpty());

        // The song-free controls still work.
        QStringList modes;
        for (int clicks = 0; clicks < 4; ++clicks) {
            click(shown->window, "repeatButton");
            modes.append(rig.player().repeatModeText());
        }
        QCOMPARE(modes, (QStringList{QStringLiteral("all"), QStringLiteral("one"), QStringLiteral("off"),
                                     QStringLiteral("all")}));
        click(shown->window, "queueButton");
        QVERIFY(rig.state->showQueue());
        click(shown->window, "nonStopButton");
        QVERIFY(rig.player().nonStop());
    }

    // Held at 1:30 for two seconds while playing: the label stays, one seek goes out at release.
    void seekBarHoldsAndSeeksOnceOverMpv()
    {
        auto mpv = std::make_unique<MpvAudio>();
        MpvAudio *audio = mpv.get();
        // mpv's volume is only there once its core is: started as by a first song.
        audio->listOutputs();
        AppStateRig rig(std::move(mpv));
        serveSongs(rig);
        PlayerBarModel model(*rig.state);
        const auto shown = show("PlayerBarPage.qml", &model);
        QVERIFY(shown->window);
        rig.player().play(longSongs(), 0, false);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.player().isLoading() && audio->position() > 0.2, 10000);

        const QPoint held = holdSeekAt(shown->window, 90, rig.player().duration());
        auto *elapsed = item(shown->window, "elapsedLabel");
        QTRY_COMPARE(elapsed->property("text").toString(), QStringLiteral("1:30"));
        QTest::qWait(2000);
        QCOMPARE(elapsed->property("text").toString(), QStringLiteral("1:30"));
        QVERIFY(audio->position() < 10); // no seek while held
        QTest::mouseRelease(shown->window, Qt::LeftButton, {}, held);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(audio->position() - 90) < 2, 5000);
        QTRY_VERIFY(std::abs(rig.player().position() - 90) < 2);
    }

    // The song advances while the thumb is held: the new one plays on from its start.
    void songChangeDuringHoldPlaysOnOverMpv()
    {
        auto mpv = std::make_unique<MpvAudio>();
        MpvAudio *audio = mpv.get();
        // mpv's volume is only there once its core is: started as by a first song.
        audio->listOutputs();
        AppStateRig rig(std::move(mpv));
        serveSongs(rig);
        PlayerBarModel model(*rig.state);
        const auto shown = show("PlayerBarPage.qml", &model);
        QVERIFY(shown->window);
        rig.player().play(longSongs(), 0, false);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.player().isLoading(), 10000);

        QQuickItem *slider = item(shown->window, "seekSlider");
        holdSeekAt(shown->window, 90, rig.player().duration());
        rig.player().advance(true);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.player().isLoading() && audio->position() > 0.2, 10000);
        const QPoint end = slider->mapToScene(QPointF(slider->width() * 0.75, slider->height() / 2)).toPoint();
        QTest::mouseRelease(shown->window, Qt::LeftButton, {}, end);
        QTest::qWait(300);
        QCOMPARE(rig.player().index(), std::optional<int>(1));
        QVERIFY(audio->position() < 5);
    }

    // 0.25 → a click mutes → another gives 0.8, applied to mpv on its cubic scale.
    void speakerClicksMuteAndUnmuteOverMpv()
    {
        auto mpv = std::make_unique<MpvAudio>();
        MpvAudio *audio = mpv.get();
        // mpv's volume is only there once its core is: started as by a first song.
        audio->listOutputs();
        AppStateRig rig(std::move(mpv));
        PlayerBarModel model(*rig.state);
        const auto shown = show("PlayerBarPage.qml", &model);
        QVERIFY(shown->window);
        rig.player().setVolume(0.25);
        click(shown->window, "speakerButton");
        QCOMPARE(rig.player().volume(), 0.0);
        QCOMPARE(audio->mpvVolume(), 0.0);
        click(shown->window, "speakerButton");
        QCOMPARE(rig.player().volume(), 0.8);
        QVERIFY(std::abs(audio->mpvVolume() - 92.83) < 0.01);
        QCOMPARE(SettingsStore::number(QStringLiteral("musicVolume")), 0.8);
    }

    void outputMenuChoosesAnMpvOutput()
    {
        MpvAudio audio;
        OutputListModel model(audio);
        const auto shown = show("OutputPickerPage.qml", &model);
        QVERIFY(shown->window);
        // Nothing of libmpv runs before the menu first opens; the outputs follow its opening.
        QVERIFY(!audio.isStarted());
        click(shown->window, "outputPicker");
        QObject *menu = nullptr;
        QTRY_VERIFY((menu = shown->window->findChild<QObject *>(QStringLiteral("outputMenu"))));
        QTRY_VERIFY(menu->property("opened").toBool());
        QTRY_VERIFY(!audio.outputs().isEmpty());
        QTRY_COMPARE(audio.output(), QStringLiteral("auto"));
        // Opened again, as a user would after the list came in.
        QMetaObject::invokeMethod(menu, "close");
        QTRY_VERIFY(!menu->property("visible").toBool());
        click(shown->window, "outputPicker");
        QTRY_VERIFY(menu->property("opened").toBool());
        // The menu's lines, top to bottom.
        const auto menuEntries = [&shown] {
            QList<QQuickItem *> entries;
            for (QQuickItem *candidate : shown->window->findChildren<QQuickItem *>()) {
                if (candidate->inherits("QQuickMenuItem"))
                    entries.append(candidate);
            }
            std::sort(entries.begin(), entries.end(), [](QQuickItem *a, QQuickItem *b) {
                return a->mapToScene(QPointF()).y() < b->mapToScene(QPointF()).y();
            });
            return entries;
        };
        const QList<AudioOutput> outputs = audio.outputs();
        QTRY_COMPARE(menuEntries().size(), outputs.size());
        const QList<QQuickItem *> entries = menuEntries();
        QTRY_VERIFY(entries.first()->property("checked").toBool());
        QCOMPARE(entries.first()->property("label").toString(), QStringLiteral("Autoselect device"));
        const auto alsa = std::find_if(outputs.begin(), outputs.end(),
                                       [](const AudioOutput &output) { return output.name == QLatin1String("alsa"); });
        QVERIFY(alsa != outputs.end());
        QQuickItem *entry = entries.at(int(alsa - outputs.begin()));
        QTest::mouseClick(shown->window, Qt::LeftButton, {}, centreOf(entry));
        QTRY_COMPARE(audio.output(), QStringLiteral("alsa"));
    }

    // The current song at 3: the first Next-Up row dragged below the second; then Tab reaches the
    // song playing before the rows after it, and Return there plays it again, as a double click does.
    void queuePanelByPointerAndKeyboard()
    {
        AppStateRig rig;
        QueuePanelModel model(*rig.state);
        rig.playing(8, 3);
        const auto shown = show("QueuePanelPage.qml", &model);
        QVERIFY(shown->window);
        auto *list = qobject_cast<QQuickItem *>(item(shown->window, "upcomingList"));
        QQuickItem *first = nullptr;
        QQuickItem *second = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, first), Q_ARG(int, 0));
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, second), Q_ARG(int, 1));
        QVERIFY(first && second);
        const QPoint from = centreOf(first);
        const QPoint to = second->mapToScene(QPointF(second->width() / 2, second->height() * 0.8)).toPoint();
        QStringList expected = rig.queueIds();
        expected.move(4, 5);
        QTest::mousePress(shown->window, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 12; ++step)
            QTest::mouseMove(shown->window, from + (to - from) * step / 12);
        QTest::mouseRelease(shown->window, Qt::LeftButton, {}, to);
        QTRY_COMPARE(rig.queueIds(), expected);
        QCOMPARE(rig.player().index(), std::optional<int>(3));

        shown->window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(shown->window));
        QQuickItem *row = item(shown->window, "currentRow");
        for (int press = 0; press < 5 && !row->hasActiveFocus(); ++press)
            QTest::keyClick(shown->window, Qt::Key_Tab);
        QVERIFY(row->hasActiveFocus());
        const qsizetype loads = rig.audio->loads.size();
        QTest::keyClick(shown->window, Qt::Key_Return);
        QTRY_COMPARE(rig.audio->loads.size(), loads + 1);
        QCOMPARE(rig.player().index(), std::optional<int>(3));
        QTest::keyClick(shown->window, Qt::Key_Tab);
        QCOMPARE(shown->window->activeFocusItem()->parentItem()->parentItem(), list);
    }
};

QTEST_MAIN(TestPlayerViews)
#include "tst_playerviews.moc"
