#pragma once

#include "ui/music/LibrarySongsModel.h"
#include "ui/music/PlaylistDetailModel.h"
#include "ui/music/SearchScreenModel.h"
#include "ui/music/TrackListModel.h"
#include "ui/music/TrackMenu.h"

#include <QtQml/qqml.h>

// The song lists' C++ types as QML sees them: the route view's model makes each screen's model,
// a list's model makes the menu of one of its songs.

struct TrackListModelForeign
{
    Q_GADGET
    QML_FOREIGN(TrackListModel)
    QML_NAMED_ELEMENT(TrackListModel)
    QML_UNCREATABLE("part of a screen's view model")
};

struct TrackMenuForeign
{
    Q_GADGET
    QML_FOREIGN(TrackMenu)
    QML_NAMED_ELEMENT(TrackMenu)
    QML_UNCREATABLE("made by a song list's model")
};

struct SearchScreenModelForeign
{
    Q_GADGET
    QML_FOREIGN(SearchScreenModel)
    QML_NAMED_ELEMENT(SearchScreenModel)
    QML_UNCREATABLE("made by the route view's model")
};

struct SongListScreenModelForeign
{
    Q_GADGET
    QML_FOREIGN(SongListScreenModel)
    QML_NAMED_ELEMENT(SongListScreenModel)
    QML_UNCREATABLE("made by the route view's model")
};

struct LibrarySongsModelForeign
{
    Q_GADGET
    QML_FOREIGN(LibrarySongsModel)
    QML_NAMED_ELEMENT(LibrarySongsModel)
    QML_UNCREATABLE("made by the route view's model")
};

struct PlaylistDetailModelForeign
{
    Q_GADGET
    QML_FOREIGN(PlaylistDetailModel)
    QML_NAMED_ELEMENT(PlaylistDetailModel)
    QML_UNCREATABLE("made by the route view's model")
};
