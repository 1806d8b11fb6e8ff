#include "TestRecommender.h"

#include "core/AppPaths.h"

#include <QFile>

const QDateTime TestRecommender::now(QDate(2026, 6, 1), QTime(12, 0), Qt::UTC);

TestRecommender::TestRecommender(const LibraryData &data)
    : m_random(20260601)
{
    QFile file(AppPaths::support() + QStringLiteral("/library.json"));
    if (file.open(QIODevice::WriteOnly))
        file.write(data.toJson());
    file.close();
    m_store = std::make_unique<LibraryStore>();
    m_engine = std::make_unique<RecommendationEngine>(
        m_store.get(), &m_catalog, [] { return now; }, &m_random);
}

HomeSection TestRecommender::section(const QString &id) const
{
    for (const HomeSection &section : m_engine->sections()) {
        if (section.id == id)
            return section;
    }
    return {};
}

QStringList TestRecommender::sectionIDs() const
{
    QStringList result;
    for (const HomeSection &section : m_engine->sections())
        result.append(section.id);
    return result;
}

QString TestRecommender::idOf(int n)
{
    return QStringLiteral("id%1").arg(n, 9, 10, QLatin1Char('0'));
}

Track TestRecommender::song(int n, const QString &artist, const std::optional<QString> &genre,
                            const std::optional<double> &duration)
{
    return Track{idOf(n), QStringLiteral("Song %1").arg(n), artist, duration, std::nullopt, genre};
}

PlayEvent TestRecommender::play(const QString &id, double daysAgo, double listened, bool completed, bool skipped)
{
    return PlayEvent{id, now.addMSecs(qint64(-daysAgo * 86400000)), listened, std::nullopt, completed, skipped};
}

QStringList TestRecommender::ids(const QList<Track> &tracks)
{
    QStringList result;
    for (const Track &track : tracks)
        result.append(track.id);
    return result;
}
