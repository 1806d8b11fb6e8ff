#include "DownloadsScreenModel.h"

#include "coordinator/AppState.h"
#include "engine/DownloadManager.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The segments' selections, left to right.
constexpr SidebarItem segmentItems[] = {SidebarItem::Queue, SidebarItem::History, SidebarItem::Download};

} // namespace

DownloadsScreenModel::DownloadsScreenModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_pending(state->downloads().pendingCount())
    , m_content(content())
{
    connect(state, &AppState::selectionChanged, this, &DownloadsScreenModel::selectionChanged);
    // Every status change reaches this; only a new count redraws the segments.
    connect(&state->downloads(), &DownloadManager::countsChanged, this, [this] {
        const int pending = m_state->downloads().pendingCount();
        if (std::exchange(m_pending, pending) != pending)
            Q_EMIT segmentsChanged();
    });
}

QStringList DownloadsScreenModel::segments() const
{
    return {tr("Active (%1)").arg(m_pending), tr("Finished"), tr("From Link")};
}

int DownloadsScreenModel::segment() const
{
    const auto *found = std::find(std::begin(segmentItems), std::end(segmentItems), m_state->selection());
    return found == std::end(segmentItems) ? -1 : int(found - std::begin(segmentItems));
}

QString DownloadsScreenModel::content() const
{
    switch (m_state->selection()) {
    case SidebarItem::Download: return QStringLiteral("download");
    case SidebarItem::History: return QStringLiteral("history");
    case SidebarItem::Queue:
    case SidebarItem::Diagnostics: break;
    }
    return QStringLiteral("queue");
}

void DownloadsScreenModel::choose(int segment)
{
    if (segment >= 0 && segment < int(std::size(segmentItems)))
        m_state->setSelection(segmentItems[segment]);
}

void DownloadsScreenModel::selectionChanged()
{
    Q_EMIT segmentChanged();
    // The queue stays when the selection moves between the queue and the diagnostics.
    const QString shown = content();
    if (std::exchange(m_content, shown) != shown)
        Q_EMIT contentChanged();
}
