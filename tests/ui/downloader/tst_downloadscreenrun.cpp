#include "AppStateRig.h"
#include "QmlHarness.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "ui/downloader/DownloadScreenModel.h"

#include <QQuickWindow>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int delayMs = 150;
constexpr int fetchTimeoutMs = 60000;
} // namespace

// The Download screen over Debian's yt-dlp and the local test server: the delayed fetch, the
// form it shows and what its button queues.
class TestDownloadScreenRun : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    std::unique_ptr<AppStateRig> m_rig;
    std::unique_ptr<DownloadScreenModel> m_screen;

    AppState &state() { return *m_rig->state; }
    DownloadFormModel &form() { return *m_screen->form(); }
    [[nodiscard]] QString link(const QString &path) const { return m_server.url(path).toString(); }

    // Types `path`'s link into the field; the screen fetches it after the delay. True once the
    // screen shows the answer, having shown the loading state first.
    bool enter(const QString &path)
    {
        m_screen->setUrlText(link(path));
        if (!QTest::qWaitFor([this] { return m_screen->stateKind() == u"loading"_s; }, 5000))
            return false;
        return QTest::qWaitFor([this] { return m_screen->stateKind() != u"loading"_s; }, fetchTimeoutMs);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QmlHarness::prepareApplication();
        TestMedia::serve(m_server);
        TestMedia::serveFeed(m_server);
    }

    void init()
    {
        QmlHarness::failOnWarnings();
        m_rig = std::make_unique<AppStateRig>();
        QVERIFY(m_rig->makeReady(true));
        m_screen = std::make_unique<DownloadScreenModel>(state(), delayMs);
        m_screen->setShown(true);
    }

    void cleanup()
    {
        m_screen.reset();
        m_rig.reset();
    }

    void manifest()
    {
        QVERIFY(enter(u"/dash/manifest.mpd"_s));
        QCOMPARE(m_screen->stateKind(), u"loaded"_s);
        // The manifest holds one 640x480 video stream and one audio stream.
        QCOMPARE(form().formatsLine(), u"Up to 480p · 2 formats"_s);
        form().choosePreset(int(Presets::all().indexOf(Preset::Uhd)));
        QCOMPARE(form().presetHint(), u"Highest available is 480p — that’s what you’ll get."_s);

        const QString title = form().title();
        QVERIFY(!title.isEmpty());
        form().enqueue();
        QCOMPARE(m_rig->queued().size(), 1);
        QCOMPARE(m_rig->queued()[0].title, title);
        QCOMPARE(m_rig->queued()[0].presetName, u"4K"_s);
        QCOMPARE(m_screen->stateKind(), u"placeholder"_s);
    }

    void feed()
    {
        QVERIFY(enter(u"/feed.xml"_s));
        QCOMPARE(form().lengthLine(), u"Playlist · 3 items"_s);
        QCOMPARE(form().selectionText(), u"3 of 3 selected"_s);
        QCOMPARE(form().enqueueText(), u"Download 3 Items"_s);

        form().entries()->selectNone();
        QCOMPARE(form().selectionText(), u"0 of 3 selected"_s);
        form().enqueue();
        QVERIFY(m_rig->queued().isEmpty());
        QCOMPARE(state().toastText(), u"Select at least one playlist item."_s);

        form().entries()->setChecked(1, true);
        QCOMPARE(form().enqueueText(), u"Download 1 Items"_s);
        form().enqueue();
        QCOMPARE(m_rig->queued().size(), 1);
        QVERIFY(m_rig->queued()[0].isPlaylist);
        QCOMPARE(m_rig->queued()[0].playlistItems, u"2"_s);
    }

    void missingFile()
    {
        QVERIFY(enter(u"/nothing.mp4"_s));
        QCOMPARE(m_screen->stateKind(), u"failed"_s);
        QCOMPARE(m_screen->failure(), u"The media could not be found (HTTP 404)."_s);
    }

    // The link is edited after a load and Ctrl+Return comes before the screen fetched it again:
    // the new link goes out on its own, not under the old link's title.
    void editedLinkQueuedOnItsOwn()
    {
        QmlHarness harness;
        std::unique_ptr<QObject> object(
            harness.create(QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/DownloadScreenPage.qml")),
                           {{u"model"_s, QVariant::fromValue(m_screen.get())}}));
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY(window);
        window->show();
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY(enter(u"/video.mp4"_s));
        QCOMPARE(m_screen->stateKind(), u"loaded"_s);

        m_screen->setUrlText(link(u"/audio.m4a"_s));
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(m_rig->queued().size(), 1);
        QCOMPARE(m_rig->queued()[0].url, link(u"/audio.m4a"_s));
        QCOMPARE(m_rig->queued()[0].title, QString());
        QCOMPARE(state().toastText(), u"Added to queue"_s);
    }
};

QTEST_MAIN(TestDownloadScreenRun)
#include "tst_downloadscreenrun.moc"
