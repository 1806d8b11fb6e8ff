#pragma once

#include "CardListModel.h"

#include <QObject>
#include <QStringList>

class AppState;

// The Explore screen: the trending shelf as the search manager loads it (once per run, again
// only after a failure), the fixed genres and the moods.
class ExploreModel final : public QObject
{
    Q_OBJECT
    // "loading" (also before the first load), "done" or "failed".
    Q_PROPERTY(QString trendingState READ trendingState NOTIFY trendingChanged)
    Q_PROPERTY(QString trendingMessage READ trendingMessage NOTIFY trendingChanged)
    Q_PROPERTY(CardListModel *trending READ trending CONSTANT)
    Q_PROPERTY(CardListModel *genres READ genres CONSTANT)
    Q_PROPERTY(CardListModel *moods READ moods CONSTANT)

public:
    ExploreModel(AppState &state, const QStringList &moods, QObject *parent = nullptr);

    [[nodiscard]] QString trendingState() const;
    [[nodiscard]] QString trendingMessage() const;
    [[nodiscard]] CardListModel *trending() { return &m_trending; }
    [[nodiscard]] CardListModel *genres() { return &m_genres; }
    [[nodiscard]] CardListModel *moods() { return &m_moods; }

    [[nodiscard]] static const QStringList &genreNames();

    // Each showing, and "Retry": loads the trending songs unless they are loading or loaded.
    Q_INVOKABLE void load();

Q_SIGNALS:
    void trendingChanged();

private:
    void updateTrending();

    AppState &m_state;
    CardListModel m_trending;
    CardListModel m_genres;
    CardListModel m_moods;
};
