#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QSet>

#include <utility>

// A list model whose rows carry a key. A new list comes in by the smallest edits a view can
// follow (rows removed, moved, inserted, changed), so rows that stay keep their delegates and a
// list that did not change announces nothing. Lists with a repeated key are replaced whole.
class KeyedListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

protected:
    // `changed(row, before)` runs for a kept row whose value differs, after the new value is in.
    template<typename Row, typename KeyOf, typename Changed>
    void sync(QList<Row> &rows, const QList<Row> &target, KeyOf keyOf, Changed changed)
    {
        using Key = std::decay_t<decltype(keyOf(target.first()))>;
        QSet<Key> wanted;
        for (const Row &row : target)
            wanted.insert(keyOf(row));
        QSet<Key> held;
        for (const Row &row : rows)
            held.insert(keyOf(row));
        if (wanted.size() != target.size() || held.size() != rows.size()) {
            beginResetModel();
            rows = target;
            endResetModel();
            return;
        }
        for (qsizetype i = rows.size() - 1; i >= 0; --i) {
            if (wanted.contains(keyOf(rows[i])))
                continue;
            beginRemoveRows({}, int(i), int(i));
            rows.removeAt(i);
            endRemoveRows();
        }
        for (qsizetype i = 0; i < target.size(); ++i) {
            const Key key = keyOf(target[i]);
            // Rows before i already hold the target's keys, so a kept row stands at i or later.
            qsizetype at = i;
            while (at < rows.size() && keyOf(rows[at]) != key)
                ++at;
            if (at == rows.size()) {
                beginInsertRows({}, int(i), int(i));
                rows.insert(i, target[i]);
                endInsertRows();
                continue;
            }
            if (at != i) {
                beginMoveRows({}, int(at), int(at), {}, int(i));
                rows.move(at, i);
                endMoveRows();
            }
            if (!(rows[i] == target[i])) {
                const Row before = std::exchange(rows[i], target[i]);
                changed(int(i), before);
            }
        }
    }
};
