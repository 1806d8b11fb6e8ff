#pragma once

#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "TestEnvironment.h"
#include "coordinator/AppState.h"

#include <memory>

// The application's coordinator over the fake catalogue and audio back end, in an environment of
// its own.
struct AppStateRig
{
    AppStateRig();
    // Over another audio back end (libmpv); `audio` stays null.
    explicit AppStateRig(std::unique_ptr<AudioBackend> backend);

    [[nodiscard]] PlayerManager &player() { return state->player(); }
    // A queue of `count` songs (see PlayerRig::track) with song `current` playing and ready.
    void playing(int count, int current = 0);
    [[nodiscard]] QStringList queueIds();

    TestEnvironment environment;
    FakeCatalog *catalog = nullptr;
    FakeAudioBackend *audio = nullptr;
    std::unique_ptr<AppState> state;

private:
    void build(std::unique_ptr<AudioBackend> backend);
};
