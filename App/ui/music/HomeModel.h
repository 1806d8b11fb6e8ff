#pragma once

#include "HomeSectionsModel.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <functional>

class AppState;
class QQuickWindow;

// The Home screen: the greeting, "Play Non-Stop", the recent searches while the engine offers
// nothing but genres, the recommendation shelves, and the card that explains an empty Home.
// Each showing asks the engine for fresh sections without counting them as shown, once the screen
// is on screen with the sections it already has.
class HomeModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString greeting READ greeting NOTIFY greetingChanged)
    Q_PROPERTY(bool discovering READ discovering NOTIFY discoveringChanged)
    // The chips of the Recent Searches shelf, newest first; none while the shelf is hidden.
    Q_PROPERTY(CardListModel *recentSearches READ recentSearches CONSTANT)
    Q_PROPERTY(bool searchesShown READ searchesShown NOTIFY searchesShownChanged)
    // Neither a play nor a like yet: the card that explains how Home fills up shows.
    Q_PROPERTY(bool introShown READ introShown NOTIFY introShownChanged)
    Q_PROPERTY(HomeSectionsModel *sections READ sections CONSTANT)

public:
    using Clock = std::function<QDateTime()>;

    // `clock` gives the local time the greeting is read from (the system's by default).
    explicit HomeModel(AppState &state, Clock clock = {}, QObject *parent = nullptr);

    [[nodiscard]] QString greeting() const { return m_greeting; }
    [[nodiscard]] bool discovering() const;
    [[nodiscard]] CardListModel *recentSearches() { return &m_recentSearches; }
    [[nodiscard]] bool searchesShown() const { return m_recentSearches.rowCount() > 0; }
    [[nodiscard]] bool introShown() const { return m_introShown; }
    [[nodiscard]] HomeSectionsModel *sections() { return &m_sections; }

    [[nodiscard]] static QString greeting(int hour);

    // The screen came into view: a new greeting now, and freshly ranked sections once `window`
    // has drawn the frame that shows the screen (at once without a window, as nothing is drawn).
    Q_INVOKABLE void shown(QQuickWindow *window = nullptr);
    // Switches Non-Stop on and starts a station from the best seed there is; with none, sends
    // the user to Search.
    Q_INVOKABLE void playNonStop();
    // The empty Home's "Search for music".
    Q_INVOKABLE void openSearch();

Q_SIGNALS:
    void greetingChanged();
    void discoveringChanged();
    void searchesShownChanged();
    void introShownChanged();

private:
    void libraryChanged();
    void updateRecentSearches();
    void rankAfterFrame(QQuickWindow *window);

    AppState &m_state;
    Clock m_clock;
    HomeSectionsModel m_sections;
    QString m_greeting;
    CardListModel m_recentSearches;
    bool m_introShown = false;
    // The window the screen last showed in.
    QPointer<QQuickWindow> m_window;
};
