#pragma once

#include "ui/music/MusicShellModel.h"

#include <QtQml/qqml.h>

// The music window's view models as QML types. The application makes the shell's model; the
// others are reached through it.
struct MusicShellModelForeign
{
    Q_GADGET
    QML_FOREIGN(MusicShellModel)
    QML_NAMED_ELEMENT(MusicShellModel)
    QML_UNCREATABLE("made by the application")
};

struct SidebarModelForeign
{
    Q_GADGET
    QML_FOREIGN(SidebarModel)
    QML_NAMED_ELEMENT(SidebarModel)
    QML_UNCREATABLE("made by the music shell's model")
};

struct TopBarModelForeign
{
    Q_GADGET
    QML_FOREIGN(TopBarModel)
    QML_NAMED_ELEMENT(TopBarModel)
    QML_UNCREATABLE("made by the music shell's model")
};

struct RouteViewModelForeign
{
    Q_GADGET
    QML_FOREIGN(RouteViewModel)
    QML_NAMED_ELEMENT(RouteViewModel)
    QML_UNCREATABLE("made by the music shell's model")
};

struct NamePromptModelForeign
{
    Q_GADGET
    QML_FOREIGN(NamePromptModel)
    QML_NAMED_ELEMENT(NamePromptModel)
    QML_UNCREATABLE("made by the music shell's model")
};

struct DownloadsScreenModelForeign
{
    Q_GADGET
    QML_FOREIGN(DownloadsScreenModel)
    QML_NAMED_ELEMENT(DownloadsScreenModel)
    QML_UNCREATABLE("made by the music shell's model")
};
