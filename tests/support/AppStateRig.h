#pragma once

#include "FakeCatalog.h"
#include "TestEnvironment.h"
#include "coordinator/AppState.h"

#include <memory>

// A coordinator over the fake music catalogue and audio back end, in an environment of its own;
// everything else (tools, queue, library) is real.
struct AppStateRig
{
    AppStateRig();

    // Installs working stand-ins of the tools and runs the setup check, so the queue runs and links
    // may be fetched. With `realYtdlp`, Debian's yt-dlp then takes the stand-in's place, without
    // Deno and the challenge-script option, which that build refuses. False when setup failed.
    [[nodiscard]] bool makeReady(bool realYtdlp = false);

    TestEnvironment environment;
    FakeCatalog *catalog = nullptr;
    std::unique_ptr<AppState> state;
};
