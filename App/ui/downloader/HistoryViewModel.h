#pragma once

#include "ui/downloader/HistoryFilterModel.h"

#include <QObject>
#include <QSet>
#include <QUuid>
#include <QVariantList>

class DesktopServices;
class DownloadManager;
class HistoryStore;
struct HistoryItem;

// The history screen: the searchable list, a selection kept as a set of entry ids (so it
// survives a change of the search), Remove Selected, Clear History behind a confirmation, and
// each entry's buttons and menu. Entries are addressed by id (the Json::uuidText form).
class HistoryViewModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(HistoryFilterModel *items READ items CONSTANT)
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    // The history holds nothing: the empty state shows (a search without match shows an empty list).
    Q_PROPERTY(bool empty READ isEmpty NOTIFY emptyChanged)
    Q_PROPERTY(bool clearEnabled READ clearEnabled NOTIFY emptyChanged)
    Q_PROPERTY(int selectedCount READ selectedCount NOTIFY selectionChanged)
    Q_PROPERTY(bool removeSelectedEnabled READ removeSelectedEnabled NOTIFY selectionChanged)
    // The "Clear all history?" confirmation shows.
    Q_PROPERTY(bool confirmingClear READ confirmingClear NOTIFY confirmingClearChanged)
    // The entry whose log sheet is open; empty when none is.
    Q_PROPERTY(QString logTask READ logTask NOTIFY logTaskChanged)
    // Its title, which names the sheet.
    Q_PROPERTY(QString logTitle MEMBER m_logTitle NOTIFY logTaskChanged)

public:
    HistoryViewModel(HistoryStore *history, DownloadManager *downloads, DesktopServices *desktop,
                     QObject *parent = nullptr);

    [[nodiscard]] HistoryFilterModel *items() { return &m_items; }
    [[nodiscard]] const QString &search() const { return m_search; }
    void setSearch(const QString &search);
    [[nodiscard]] bool isEmpty() const;
    [[nodiscard]] bool clearEnabled() const { return !isEmpty(); }
    [[nodiscard]] const QSet<QUuid> &selection() const { return m_selection; }
    [[nodiscard]] int selectedCount() const { return int(m_selection.size()); }
    [[nodiscard]] bool removeSelectedEnabled() const { return !m_selection.isEmpty(); }
    [[nodiscard]] bool confirmingClear() const { return m_confirmingClear; }
    [[nodiscard]] const QString &logTask() const { return m_logTask; }

    // A click on a row: alone it selects just that entry; with `toggle` (Ctrl) it adds or drops
    // it; with `extend` (Shift) it selects the rows from the last clicked one to this one.
    Q_INVOKABLE void click(const QString &id, bool toggle = false, bool extend = false);
    // Removes every selected entry, also those the search hides, and empties the selection.
    Q_INVOKABLE void removeSelected();
    Q_INVOKABLE void askClear();
    // The confirmation's destructive button: the history goes, downloaded files stay.
    Q_INVOKABLE void confirmClear();
    Q_INVOKABLE void cancelClear();
    // The entry's context menu as it stands now (the file is looked for as the menu opens).
    Q_INVOKABLE QVariantList menu(const QString &id) const;
    // Runs a button or menu action ("openFile", "reveal", "openFolder", "copySourceURL",
    // "showLog", "retry", "remove") on the entry; an id that is gone does nothing.
    Q_INVOKABLE void trigger(const QString &id, const QString &action);
    // The entry's own action (Return on its row): its file when it is there, else its log.
    Q_INVOKABLE void open(const QString &id);
    Q_INVOKABLE void closeLog();
    // A history screen built anew starts with no search and nothing selected; this model outlives it.
    Q_INVOKABLE void startFresh();

Q_SIGNALS:
    void searchChanged();
    void emptyChanged();
    void selectionChanged();
    void confirmingClearChanged();
    void logTaskChanged();

private:
    [[nodiscard]] const HistoryItem *itemById(const QUuid &id) const;
    void setSelection(const QSet<QUuid> &selection);
    // Entries the store no longer has leave the selection; those the search hides stay.
    void dropRemovedFromSelection();
    void setConfirmingClear(bool confirming);

    HistoryStore *m_history;
    DownloadManager *m_downloads;
    DesktopServices *m_desktop;
    HistoryFilterModel m_items;
    QString m_search;
    QSet<QUuid> m_selection;
    QUuid m_anchor; // the entry a Shift-click extends from
    bool m_confirmingClear = false;
    bool m_empty;
    QString m_logTask;
    QString m_logTitle;
};
