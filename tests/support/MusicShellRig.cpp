#include "MusicShellRig.h"

#include "AppStateRig.h"
#include "TestRequests.h"
#include "core/AppPaths.h"

#include <QFile>

MusicShellRig::MusicShellRig(const QByteArray &library)
{
    const QString path = AppPaths::support() + QStringLiteral("/library.json");
    if (library.isEmpty()) {
        QFile::copy(QStringLiteral(MORVANE_TEST_DATA_DIR "/music/library.json"), path);
    } else {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(library) != library.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    auto fake = std::make_unique<FakeCatalog>();
    catalog = fake.get();
    AppState::Backends backends;
    backends.catalog = std::move(fake);
    backends.audio = std::make_unique<FakeAudioBackend>();
    state = AppStateRig::loadedState(std::move(backends));
}

QUuid MusicShellRig::playlistID(int number)
{
    return QUuid(QStringLiteral("6F1E8E7A-2B53-4C1D-9A60-3D2B5C1E000%1").arg(number));
}

DownloadTask *MusicShellRig::addDownload(const QString &title)
{
    DownloadOptions options = TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/") + title, env.root());
    options.title = title;
    return state->downloads().enqueue(options);
}
