#pragma once

#include "TestEnvironment.h"
#include "TestToolMirror.h"
#include "shell/MorvaneApp.h"

// The application as it runs, over the fake catalogue and audio output, in a fresh environment whose
// tool downloads come from a local mirror (serving nothing until a test says so).
struct TestApp
{
    TestApp();

    // Installs working stand-ins for every tool and runs the start-up check, so the shell shows.
    // True once it shows.
    [[nodiscard]] bool finishSetup();
    [[nodiscard]] QQuickWindow *window() { return app.shell().mainWindow(); }
    // The main window's view model `name` (one of its required properties).
    template<typename T> [[nodiscard]] T *model(const char *name) { return window()->property(name).value<T *>(); }

    TestEnvironment env;
    TestToolMirror mirror{env.root()};
    MorvaneApp app;
};
