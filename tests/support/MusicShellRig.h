#pragma once

#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "TestEnvironment.h"
#include "coordinator/AppState.h"

#include <memory>

// A real AppState over the fake catalogue and audio back end, in a private home whose library is
// tests/data/music/library.json: the playlists "Road Songs", "Evening" and "Road Songs", in this
// order, unless the rig is given library.json's content. The download queue holds what a test adds;
// nothing runs it.
struct MusicShellRig
{
    explicit MusicShellRig(const QByteArray &library = {});

    [[nodiscard]] static QUuid playlistID(int number); // 1 to 3, in the fixture's order
    // A queued task nothing starts.
    DownloadTask *addDownload(const QString &title);

    TestEnvironment env;
    FakeCatalog *catalog = nullptr;
    std::unique_ptr<AppState> state;
};
