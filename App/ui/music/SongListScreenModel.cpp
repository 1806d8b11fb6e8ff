#include "SongListScreenModel.h"

#include "coordinator/AppState.h"
#include "player/PlayerManager.h"

#include <QUrl>

SongListScreenModel::SongListScreenModel(AppState *state, QString symbol, QString emptyMessage, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_symbol(std::move(symbol))
    , m_emptyMessage(std::move(emptyMessage))
    , m_tracks(state)
{}

QString SongListScreenModel::detail() const
{
    // No singular: "1 songs".
    const QString count = QString::number(m_tracks.rowCount()) + QStringLiteral(" songs");
    const QString lead = subtitle();
    return lead.isEmpty() ? count : lead + QStringLiteral(" · ") + count;
}

QList<QUrl> SongListScreenModel::cover() const
{
    return m_tracks.tracks().isEmpty() ? QList<QUrl>() : m_tracks.tracks().constFirst().artwork(false);
}

void SongListScreenModel::play()
{
    m_state->player().play(m_tracks.tracks(), 0, false);
}

void SongListScreenModel::shuffle()
{
    m_state->player().play(m_tracks.tracks(), 0, true);
}

void SongListScreenModel::download()
{
    if (!m_tracks.tracks().isEmpty())
        m_state->download(m_tracks.tracks(), downloadFolder());
}

void SongListScreenModel::reload()
{
    m_tracks.setTracks(read());
    Q_EMIT headerChanged();
}
