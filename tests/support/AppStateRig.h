#pragma once

#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "TestEnvironment.h"
#include "coordinator/AppState.h"
#include "engine/DownloadOptions.h"

#include <memory>

// A coordinator over the fake music catalogue and audio back end, in an environment of its own;
// everything else (tools, queue, library) is real.
struct AppStateRig
{
    AppStateRig();
    // Over another audio back end (libmpv); `audio` stays null.
    explicit AppStateRig(std::unique_ptr<AudioBackend> backend);

    // Installs working stand-ins of the tools and runs the setup check, so the queue runs and links
    // may be fetched. With `realYtdlp`, Debian's yt-dlp then takes the stand-in's place, without
    // Deno and the challenge-script option, which that build refuses. False when setup failed.
    [[nodiscard]] bool makeReady(bool realYtdlp = false);
    // After makeReady(): fetches `link` from the link field with a stand-in yt-dlp that answers
    // `answer` (its "-J" object). False unless the media loaded.
    [[nodiscard]] bool fetchCanned(const QByteArray &answer,
                                   const QString &link = QStringLiteral("https://media.example/watch"));

    // A coordinator over `backends` with its stored files in, as it is once the window is up.
    [[nodiscard]] static std::unique_ptr<AppState> loadedState(AppState::Backends backends);

    [[nodiscard]] PlayerManager &player() { return state->player(); }
    // A queue of `count` songs (see PlayerRig::track) with song `current` playing and ready.
    void playing(int count, int current = 0);
    [[nodiscard]] QStringList queueIds();
    // The requests of the download queue, in its order.
    [[nodiscard]] QList<DownloadOptions> queued() const;

    TestEnvironment environment;
    FakeCatalog *catalog = nullptr;
    FakeAudioBackend *audio = nullptr;
    std::unique_ptr<AppState> state;

private:
    void build(std::unique_ptr<AudioBackend> backend);
};
