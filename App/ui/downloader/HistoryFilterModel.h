#pragma once

#include <QSet>
#include <QSortFilterProxyModel>
#include <QUuid>

class HistoryStore;

// The history list as the screen shows it: the store's entries, newest first, narrowed by the
// search text, with the row texts, buttons and selection mark as roles besides the store's own.
class HistoryFilterModel final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    enum Roles {
        StatusTextRole = Qt::UserRole + 100, // "statusText"
        StatusIconRole,                      // "statusIcon"
        StatusColorRole,                     // "statusColor"
        DateTextRole,                        // "dateText"
        SizeTextRole,                        // "sizeText": empty when the size is unknown
        DetailRole,                          // "detail": the file, else the error, else the folder
        DetailColorRole,                     // "detailColor"
        LoadableThumbnailRole,               // "loadableThumbnail": http(s) link or empty
        ButtonsRole,                         // "buttons": {icon, text, action, divider}; checks the file
        SelectedRole,                        // "selected"
    };

    explicit HistoryFilterModel(HistoryStore *store, QObject *parent = nullptr);

    // Entries whose title or link holds the text, ignoring case; the text is taken as typed.
    void setSearch(const QString &search);
    // Marks the rows of these ids as selected.
    void setSelection(const QSet<QUuid> &selection);

    // The entry id of a row of this list.
    [[nodiscard]] QUuid idAt(int row) const;

    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    HistoryStore *m_store;
    QString m_search;
    QSet<QUuid> m_selection;
};
