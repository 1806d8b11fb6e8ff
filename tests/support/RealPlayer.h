#pragma once

#include "music/ArtworkManager.h"
#include "music/LibraryStore.h"
#include "platform/MpvAudio.h"
#include "player/PlayerManager.h"
#include "recommend/RecommendationEngine.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QRandomGenerator>

// The player of the application over mpv without a sound card, with the catalogue given: what a
// song's start really costs, where the fake back end would answer at once.
struct RealPlayer
{
    explicit RealPlayer(MusicCatalog *catalog)
        : engine(&library, catalog, &QDateTime::currentDateTimeUtc, QRandomGenerator::global())
        , player(&library, &engine, &audio, catalog, &artwork, PlayerManager::steadyClock(), QRandomGenerator::global())
    {}

    LibraryStore library;
    MpvAudio audio;
    QNetworkAccessManager network;
    ArtworkManager artwork{&network};
    RecommendationEngine engine;
    PlayerManager player;
};
