#pragma once

#include "ui/music/ArtworkLoader.h"
#include "ui/music/EqualizerMeter.h"
#include "ui/music/NowPlayingModel.h"
#include "ui/music/OutputListModel.h"
#include "ui/music/PlayerBarModel.h"
#include "ui/music/QueuePanelModel.h"
#include "ui/music/SeekModel.h"
#include "ui/music/TransportModel.h"
#include "ui/music/UpcomingModel.h"
#include "ui/music/VolumeModel.h"

#include <QtQml/qqml.h>

// The player controls' C++ types as QML sees them. The application makes the view models of the
// player bar, the queue panel, Now Playing and the output picker and hands them in; the artwork
// loader and the equalizer meter are made by the views themselves.

struct PlayerBarModelForeign
{
    Q_GADGET
    QML_FOREIGN(PlayerBarModel)
    QML_NAMED_ELEMENT(PlayerBarModel)
    QML_UNCREATABLE("made by the application")
};

struct QueuePanelModelForeign
{
    Q_GADGET
    QML_FOREIGN(QueuePanelModel)
    QML_NAMED_ELEMENT(QueuePanelModel)
    QML_UNCREATABLE("made by the application")
};

struct NowPlayingModelForeign
{
    Q_GADGET
    QML_FOREIGN(NowPlayingModel)
    QML_NAMED_ELEMENT(NowPlayingModel)
    QML_UNCREATABLE("made by the application")
};

struct CurrentTrackModelForeign
{
    Q_GADGET
    QML_FOREIGN(CurrentTrackModel)
    QML_NAMED_ELEMENT(CurrentTrackModel)
    QML_UNCREATABLE("made by the application")
};

struct TransportModelForeign
{
    Q_GADGET
    QML_FOREIGN(TransportModel)
    QML_NAMED_ELEMENT(TransportModel)
    QML_UNCREATABLE("part of a player view model")
};

struct SeekModelForeign
{
    Q_GADGET
    QML_FOREIGN(SeekModel)
    QML_NAMED_ELEMENT(SeekModel)
    QML_UNCREATABLE("part of a player view model")
};

struct VolumeModelForeign
{
    Q_GADGET
    QML_FOREIGN(VolumeModel)
    QML_NAMED_ELEMENT(VolumeModel)
    QML_UNCREATABLE("part of a player view model")
};

struct UpcomingModelForeign
{
    Q_GADGET
    QML_FOREIGN(UpcomingModel)
    QML_NAMED_ELEMENT(UpcomingModel)
    QML_UNCREATABLE("part of a player view model")
};

struct OutputListModelForeign
{
    Q_GADGET
    QML_FOREIGN(OutputListModel)
    QML_NAMED_ELEMENT(OutputListModel)
    QML_UNCREATABLE("made by the application")
};

struct ArtworkLoaderForeign
{
    Q_GADGET
    QML_FOREIGN(ArtworkLoader)
    QML_NAMED_ELEMENT(ArtworkLoader)
};

struct EqualizerMeterForeign
{
    Q_GADGET
    QML_FOREIGN(EqualizerMeter)
    QML_NAMED_ELEMENT(EqualizerMeter)
};
