#include "PlaylistEntryModel.h"

#include "coordinator/AppState.h"
#include "core/TextHelpers.h"

namespace {

const QList<PlaylistEntry> &entriesOf(const AppState &state)
{
    static const QList<PlaylistEntry> none;
    return state.info() ? state.info()->entries : none;
}

} // namespace

PlaylistEntryModel::PlaylistEntryModel(AppState &state, QObject *parent)
    : QAbstractListModel(parent)
    , m_state(state)
    , m_count(int(entriesOf(state).size()))
{
    connect(&m_state, &AppState::infoChanged, this, [this] {
        beginResetModel();
        m_count = int(entriesOf(m_state).size());
        endResetModel();
    });
    connect(&m_state, &AppState::selectedItemsChanged, this, &PlaylistEntryModel::ticksChanged);
}

int PlaylistEntryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant PlaylistEntryModel::data(const QModelIndex &index, int role) const
{
    const QList<PlaylistEntry> &entries = entriesOf(m_state);
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        index.row() >= entries.size())
        return {};
    const PlaylistEntry &entry = entries[index.row()];
    switch (role) {
    case NumberRole: return QString::number(entry.id) + u'.';
    case TitleRole: return entry.title;
    case DurationRole: return formatDuration(entry.duration);
    case CheckedRole: return m_state.selectedItems().contains(entry.id);
    }
    return {};
}

QHash<int, QByteArray> PlaylistEntryModel::roleNames() const
{
    return {{NumberRole, "number"}, {TitleRole, "title"}, {DurationRole, "duration"}, {CheckedRole, "checked"}};
}

void PlaylistEntryModel::setChecked(int row, bool checked)
{
    const QList<PlaylistEntry> &entries = entriesOf(m_state);
    if (row < 0 || row >= entries.size())
        return;
    QSet<int> items = m_state.selectedItems();
    if (checked)
        items.insert(entries[row].id);
    else
        items.remove(entries[row].id);
    m_state.setSelectedItems(items);
}

void PlaylistEntryModel::selectAll()
{
    QSet<int> items;
    items.reserve(entriesOf(m_state).size());
    for (const PlaylistEntry &entry : entriesOf(m_state))
        items.insert(entry.id);
    m_state.setSelectedItems(items);
}

void PlaylistEntryModel::selectNone()
{
    m_state.setSelectedItems({});
}

void PlaylistEntryModel::ticksChanged()
{
    if (m_count > 0)
        Q_EMIT dataChanged(index(0), index(m_count - 1), {CheckedRole});
}
