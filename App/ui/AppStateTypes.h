#pragma once

#include "coordinator/AppState.h"
#include "ui/root/CommandController.h"
#include "ui/root/RootViewModel.h"

#include <QJSEngine>
#include <QtQml/qqml.h>

// The coordinator as the QML singleton `AppState`: the one instance the application made, never a
// second. Screens that bind to the shared interface state read it from here.
struct AppStateForeign
{
    Q_GADGET
    QML_FOREIGN(AppState)
    QML_NAMED_ELEMENT(AppState)
    QML_SINGLETON

public:
    // Set by the application (or a test) before the first engine reads `AppState`.
    inline static AppState *instance = nullptr;

    static AppState *create(QQmlEngine *, QJSEngine *)
    {
        Q_ASSERT(instance);
        // The application owns it; no engine may delete it when it goes.
        QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
        return instance;
    }
};

struct RootViewModelForeign
{
    Q_GADGET
    QML_FOREIGN(RootViewModel)
    QML_NAMED_ELEMENT(RootViewModel)
    QML_UNCREATABLE("made by the application")
};

struct CommandControllerForeign
{
    Q_GADGET
    QML_FOREIGN(CommandController)
    QML_NAMED_ELEMENT(CommandController)
    QML_UNCREATABLE("made by the application")
};
