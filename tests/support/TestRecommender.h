#pragma once

#include "FakeCatalog.h"
#include "TestEnvironment.h"
#include "music/LibraryData.h"
#include "music/LibraryStore.h"
#include "recommend/RecommendationEngine.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <memory>

// A recommendation engine over a real library store that loads its own "library.json", with a
// fixed clock, a fixed random source and a fake music catalogue, in a fresh support folder.
class TestRecommender
{
public:
    // The engine's clock: a fixed instant.
    static const QDateTime now;

    explicit TestRecommender(const LibraryData &data = {});

    [[nodiscard]] LibraryStore &store() { return *m_store; }
    [[nodiscard]] RecommendationEngine &engine() { return *m_engine; }
    [[nodiscard]] FakeCatalog &catalog() { return m_catalog; }
    [[nodiscard]] const TestEnvironment &environment() const { return m_environment; }

    // The section with `id`, or an empty one (no id) when the engine did not build it.
    [[nodiscard]] HomeSection section(const QString &id) const;
    [[nodiscard]] QStringList sectionIDs() const;

    // Eleven characters, like a video id; `n` picks a distinct one.
    [[nodiscard]] static QString idOf(int n);
    [[nodiscard]] static Track song(int n, const QString &artist, const std::optional<QString> &genre = std::nullopt,
                                    const std::optional<double> &duration = std::nullopt);
    // A play `daysAgo` before the clock's instant.
    [[nodiscard]] static PlayEvent play(const QString &id, double daysAgo, double listened, bool completed,
                                        bool skipped = false);
    [[nodiscard]] static QStringList ids(const QList<Track> &tracks);

private:
    TestEnvironment m_environment;
    QRandomGenerator m_random;
    FakeCatalog m_catalog;
    std::unique_ptr<LibraryStore> m_store;
    std::unique_ptr<RecommendationEngine> m_engine;
};
