#include "AppStateRig.h"

#include "FakeAudioBackend.h"
#include "TestToolMirror.h"
#include "core/SettingsStore.h"

#include <QCoroTask>
#include <QFile>

AppStateRig::AppStateRig()
{
    auto fake = std::make_unique<FakeCatalog>();
    catalog = fake.get();
    AppState::Backends backends;
    backends.catalog = std::move(fake);
    backends.audio = std::make_unique<FakeAudioBackend>();
    state = std::make_unique<AppState>(std::move(backends));
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
