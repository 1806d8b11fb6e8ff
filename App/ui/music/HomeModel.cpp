#include "HomeModel.h"

#include "coordinator/AppState.h"

#include <QQuickWindow>

namespace {
constexpr int chipCount = 10;
} // namespace

HomeModel::HomeModel(AppState &state, Clock clock, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentDateTime))
    , m_sections(state)
    , m_greeting(greeting(m_clock().time().hour()))
    , m_recentSearches(state)
{
    RecommendationEngine &engine = state.engine();
    connect(&engine, &RecommendationEngine::isDiscoveringChanged, this, &HomeModel::discoveringChanged);
    connect(&engine, &RecommendationEngine::sectionsChanged, this, [this] {
        m_sections.update();
        updateRecentSearches();
    });
    connect(&state.library(), &LibraryStore::libraryChanged, this, &HomeModel::libraryChanged);
    // The stored library comes in while the window starts: ranked after the frame, like a showing,
    // or at the first showing when the screen has not shown yet.
    connect(&state.library(), &LibraryStore::loaded, this, [this] {
        if (m_window)
            rankAfterFrame(m_window);
    });
    libraryChanged();
}

bool HomeModel::discovering() const
{
    return m_state.engine().isDiscovering();
}

QString HomeModel::greeting(int hour)
{
    if (hour < 5)
        return QStringLiteral("Late night listening");
    if (hour < 12)
        return QStringLiteral("Good morning");
    if (hour < 18)
        return QStringLiteral("Good afternoon");
    return QStringLiteral("Good evening");
}

void HomeModel::shown(QQuickWindow *window)
{
    const QString text = greeting(m_clock().time().hour());
    if (std::exchange(m_greeting, text) != text)
        Q_EMIT greetingChanged();
    m_window = window;
    if (!window) {
        m_state.engine().refresh(false);
        return;
    }
    rankAfterFrame(window);
}

void HomeModel::rankAfterFrame(QQuickWindow *window)
{
    // Ranking takes a while over a large library: the screen first shows the sections it has.
    // The frame that shows it is under way once the window next animates; a frame swapped
    // before then may still be the previous screen's. frameSwapped can come from the render
    // thread, so the ranking is queued to this one.
    connect(
        window, &QQuickWindow::afterAnimating, this,
        [this, window] {
            connect(
                window, &QQuickWindow::frameSwapped, this, [this] { m_state.engine().refresh(false); },
                Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
        },
        Qt::SingleShotConnection);
    // Nothing else on the window need change (a library that arrives with nothing new to show
    // but rankings): without a frame asked for, none would come.
    window->update();
}

void HomeModel::playNonStop()
{
    PlayerManager &player = m_state.player();
    LibraryStore &library = m_state.library();
    player.setNonStop(true);
    if (const QList<Track> next = m_state.engine().nextCandidates({}, std::nullopt, 1); !next.isEmpty()) {
        player.startRadio(next.constFirst());
    } else if (const QList<Track> recent = library.recentTracks(1); !recent.isEmpty()) {
        player.startRadio(recent.constFirst());
    } else if (const QStringList searches = library.searches(); !searches.isEmpty()) {
        player.startQuery(searches.constFirst());
    } else {
        // Non-Stop stays on: it starts with the first song the user finds.
        m_state.setRoute(Route{Route::Kind::Search, {}});
        m_state.setToast(QStringLiteral("Search for a song first to seed your station."));
    }
}

void HomeModel::openSearch()
{
    m_state.setRoute(Route{Route::Kind::Search, {}});
}

void HomeModel::libraryChanged()
{
    // Playlist cards follow renames and edits; sections themselves come from the engine.
    m_sections.update();
    updateRecentSearches();
    const LibraryStore &library = m_state.library();
    const bool intro = library.plays().isEmpty() && library.likes().isEmpty();
    if (std::exchange(m_introShown, intro) != intro)
        Q_EMIT introShownChanged();
}

void HomeModel::updateRecentSearches()
{
    const QList<HomeSection> sections = m_state.engine().sections();
    const bool others = std::any_of(sections.begin(), sections.end(),
                                    [](const HomeSection &section) { return section.id != QStringLiteral("genres"); });
    QList<Card> chips;
    if (!others) {
        for (const QString &text : m_state.library().searches().mid(0, chipCount))
            chips.append(Card::ofSearch(text));
    }
    const bool wasShown = searchesShown();
    m_recentSearches.setCards(chips);
    if (searchesShown() != wasShown)
        Q_EMIT searchesShownChanged();
}
