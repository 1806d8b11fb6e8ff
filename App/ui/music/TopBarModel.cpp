#include "TopBarModel.h"

#include "coordinator/AppState.h"

namespace {
QVariantMap entry(const char *text, const char *action)
{
    return {{QStringLiteral("text"), QString::fromUtf8(text)}, {QStringLiteral("action"), QString::fromLatin1(action)}};
}
} // namespace

TopBarModel::TopBarModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{
    connect(&state->search(), &SearchManager::queryChanged, this, &TopBarModel::queryChanged);
}

QString TopBarModel::query() const
{
    return m_state->search().query();
}

void TopBarModel::setQuery(const QString &query)
{
    m_state->search().setQuery(query);
}

QVariantList TopBarModel::menu()
{
    return {entry("Settings", "settings"), entry("Downloads", "downloads"),
            QVariantMap{{QStringLiteral("divider"), true}}, entry("Tool Diagnostics", "diagnostics"),
            entry("Check for Tool Updates", "checkForUpdates")};
}

void TopBarModel::goHome()
{
    m_state->setRoute({Route::Kind::Home, {}});
}

void TopBarModel::submit()
{
    m_state->setRoute({Route::Kind::Search, {}});
    m_state->search().submit(std::nullopt, &m_state->player());
}

void TopBarModel::clear()
{
    setQuery(QString());
}

void TopBarModel::trigger(const QString &action)
{
    // Diagnostics live on the settings screen, which opens on its first tab like any visit.
    if (action == QLatin1String("settings") || action == QLatin1String("diagnostics"))
        m_state->setRoute({Route::Kind::Settings, {}});
    else if (action == QLatin1String("downloads"))
        m_state->setRoute({Route::Kind::Downloads, {}});
    else if (action == QLatin1String("checkForUpdates"))
        m_state->deps().updateTools(); // runs on; the tool manager publishes its own progress
}
