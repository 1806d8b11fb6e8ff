#pragma once

#include <QAbstractListModel>

class AppState;

// The fetched playlist's entries, each ticked while the coordinator's selection holds it. Ticks
// live in the coordinator, not here, so a reused row never shows another entry's tick.
class PlaylistEntryModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        NumberRole = Qt::UserRole, // "12."
        TitleRole,
        DurationRole, // "3:07", "—" when unknown
        CheckedRole,
    };

    explicit PlaylistEntryModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // Ticks or unticks the entry of `row`.
    Q_INVOKABLE void setChecked(int row, bool checked);
    Q_INVOKABLE void selectAll();
    Q_INVOKABLE void selectNone();

private:
    void ticksChanged();

    AppState &m_state;
    // Entries on show; the coordinator's media may be gone before the view has let go of the rows.
    int m_count = 0;
};
