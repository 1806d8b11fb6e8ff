#include "AppStateRig.h"

#include "FakeYtDlp.h"
#include "PlayerRig.h"
#include "TestToolMirror.h"
#include "core/SettingsStore.h"
#include "engine/DownloadTask.h"

#include <QCoroTask>
#include <QFile>
#include <QTest>

AppStateRig::AppStateRig()
{
    auto fake = std::make_unique<FakeAudioBackend>();
    audio = fake.get();
    build(std::move(fake));
}

AppStateRig::AppStateRig(std::unique_ptr<AudioBackend> backend)
{
    build(std::move(backend));
}

void AppStateRig::build(std::unique_ptr<AudioBackend> backend)
{
    auto fakeCatalog = std::make_unique<FakeCatalog>();
    catalog = fakeCatalog.get();
    AppState::Backends backends;
    backends.catalog = std::move(fakeCatalog);
    backends.audio = std::move(backend);
    state = loadedState(std::move(backends));
}

std::unique_ptr<AppState> AppStateRig::loadedState(AppState::Backends backends)
{
    auto state = std::make_unique<AppState>(std::move(backends));
    if (!QTest::qWaitFor([&state] { return state->isLoaded(); }))
        qFatal("the stored history, queue and library never came in");
    return state;
}

bool AppStateRig::makeReady(bool realYtdlp)
{
    {
        TestToolMirror mirror(environment.root()); // nothing is downloaded: the stand-ins pass
        mirror.installFakes(environment, QStringLiteral("2023.03.04"));
        QCoro::waitFor(state->retrySetup());
    }
    if (realYtdlp) {
        environment.installTool(QStringLiteral("yt-dlp"), QStringLiteral("/usr/bin/yt-dlp"));
        QFile::remove(environment.toolsDir() + QStringLiteral("/deno"));
        SettingsStore::set(QStringLiteral("remoteEJS"), false);
    }
    return state->setupDone();
}

bool AppStateRig::fetchCanned(const QByteArray &answer, const QString &link)
{
    FakeYtDlp(environment).answer(answer);
    state->setUrlText(link);
    state->fetch();
    return QTest::qWaitFor([this] { return state->fetchState().kind != FetchState::Kind::Loading; }, 30000) &&
           state->fetchState().kind == FetchState::Kind::Loaded;
}

void AppStateRig::playing(int count, int current)
{
    player().play(PlayerRig::tracks(count), current, false);
    QTRY_VERIFY(audio->hasItem());
    audio->becomeReady(200);
}

QList<DownloadOptions> AppStateRig::queued() const
{
    QList<DownloadOptions> requests;
    for (const DownloadTask *task : state->downloads().tasks())
        requests.append(task->options());
    return requests;
}

QStringList AppStateRig::queueIds()
{
    QStringList ids;
    for (const QueueItem &item : player().queue())
        ids.append(item.track.id);
    return ids;
}
