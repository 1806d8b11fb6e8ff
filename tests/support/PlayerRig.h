#pragma once

#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "TestEnvironment.h"
#include "music/ArtworkManager.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"
#include "recommend/RecommendationEngine.h"

#include <QNetworkAccessManager>
#include <QRandomGenerator>

#include <memory>

// A player over the fake back end and catalogue, with a clock the test moves by hand, a seeded
// random generator and a recommender over the same library, in an environment of its own.
// Thumbnails are asked of a closed port on this machine unless the test points
// MORVANE_IMAGE_HOST elsewhere.
struct PlayerRig
{
    PlayerRig();

    // Song n: id "song0000001" and so on (eleven characters), 200 s long unless told.
    static Track track(int n, std::optional<double> duration = 200.0);
    static QList<Track> tracks(int count);
    // A new player in place of the old one, as at the next start of the application.
    void restart();
    [[nodiscard]] QStringList queueIds() const;

    // A queue of `count` songs with song `current` (from 0) playing and ready.
    void playing(int count, int current = 0);
    // Makes the loaded item ready and running.
    void ready(double duration = 200);
    // Lets `seconds` of sound be counted, one tick of at most 1.5 s at a time.
    void listen(double seconds);
    // Another player over the same parts (the previous one must be gone or unused).
    [[nodiscard]] std::unique_ptr<PlayerManager> makePlayer(PlayerManager::Clock clock);

    TestEnvironment environment;
    LibraryStore library;
    FakeAudioBackend audio;
    FakeCatalog catalog;
    QNetworkAccessManager network;
    ArtworkManager artwork{&network};
    double now = 1000;
    QRandomGenerator random{42};
    RecommendationEngine engine;
    std::unique_ptr<PlayerManager> player;
};
