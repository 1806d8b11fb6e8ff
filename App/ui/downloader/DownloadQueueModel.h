#pragma once

#include "ui/downloader/TaskPresentation.h"

#include <QHash>
#include <QIdentityProxyModel>
#include <QSet>
#include <QTimer>

class DesktopServices;
class DownloadManager;
class DownloadTask;

// The queue screen's list: one row per task of the download queue, in queue order, with
// everything the row shows as roles. A task's changes reach the view as one dataChanged for its
// row, naming only the roles whose values changed; the list is never reset, so a busy queue costs
// only the rows that move. A new status (finished, failed, paused...) shows within a frame, but
// progress alone is gathered for every row and shown together a few times a second: nobody reads
// figures faster, and each update makes the window draw a frame. The tasks keep every value.
//
// Rows are addressed by task id (the Json::uuidText form), never by offset: an offset taken
// when a drag starts or a menu opens may name another task by the time it is used.
class DownloadQueueModel final : public QIdentityProxyModel
{
    Q_OBJECT
    Q_PROPERTY(bool empty READ isEmpty NOTIFY emptyChanged)
    // The task whose log sheet is open; empty when none is.
    Q_PROPERTY(QString logTask READ logTask NOTIFY logTaskChanged)
    // Its title, which names the sheet.
    Q_PROPERTY(QString logTitle MEMBER m_logTitle NOTIFY logTaskChanged)

public:
    enum Roles {
        IdRole = Qt::UserRole + 100, // "id": the task id
        TitleRole,                   // "title"
        ItemTextRole,                // "itemText": "3/12", or empty
        StatusTextRole,              // "statusText"
        StatusIconRole,              // "statusIcon": symbol name
        StatusColorRole,             // "statusColor": colour role of the label and the bar
        StatusLineRole,              // "statusLine"
        StatusLineColorRole,         // "statusLineColor"
        ShowsProgressRole,           // "showsProgress"
        ProgressRole,                // "progress": 0...1
        ThumbnailRole,               // "thumbnail": http(s) link or empty
        PlaceholderIconRole,         // "placeholderIcon"
        ControlsRole,                // "controls": list of {icon, text, action, divider}
        MenuRole,                    // "menu": the same, dividers included
    };

    // How long a task's changes are gathered before its row is updated: one frame at 60 Hz.
    static constexpr int frameMs = 16;
    // The least time between two updates that only move progress: four a second.
    static constexpr int progressMs = 250;

    DownloadQueueModel(DownloadManager *downloads, DesktopServices *desktop, QObject *parent = nullptr);

    [[nodiscard]] bool isEmpty() const { return rowCount() == 0; }
    [[nodiscard]] const QString &logTask() const { return m_logTask; }

    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // Runs a control or menu action ("pause", "resume", "retry", "cancel", "remove", "moveUp",
    // "moveDown", "reveal", "copyLink", "showLog") on the task; an id that is gone does nothing.
    // The id of the task at `row` as the list is now; empty past either end.
    Q_INVOKABLE QString idAt(int row) const;
    Q_INVOKABLE void trigger(const QString &taskId, const QString &action);
    // The drop of a drag: the task lands before `beforeTaskId` (at the end when that is empty),
    // resolved against the list as it is now. When either task is gone, nothing moves.
    Q_INVOKABLE void moveTask(const QString &taskId, const QString &beforeTaskId);
    Q_INVOKABLE void pauseAll();
    Q_INVOKABLE void resumeAll();
    Q_INVOKABLE void clearFinished();
    // The sheet closed; the same log can be opened again at once.
    Q_INVOKABLE void closeLog();

Q_SIGNALS:
    void emptyChanged();
    void logTaskChanged();

private:
    void follow(DownloadTask *task);
    void unfollow(int first, int last);
    void markChanged(DownloadTask *task);
    void markProgressed(DownloadTask *task);
    void publish(const QSet<DownloadTask *> &changed);
    void noteEmptiness();
    void setLogTask(const QString &id, const QString &title = {});
    [[nodiscard]] DownloadTask *taskAt(int row) const;
    [[nodiscard]] DownloadTask *taskById(const QString &id) const;
    [[nodiscard]] const TaskPresentation &shown(DownloadTask *task) const;
    [[nodiscard]] static QVariant roleValue(const TaskPresentation &row, int role);

    DownloadManager *m_downloads;
    DesktopServices *m_desktop;
    // What each row last showed, so an update names only the roles that changed.
    mutable QHash<const DownloadTask *, TaskPresentation> m_shown;
    QSet<DownloadTask *> m_changed;    // shown at the next frame
    QSet<DownloadTask *> m_progressed; // shown at the next progress tick
    QTimer m_frame;
    QTimer m_progressTick;
    QString m_logTask;
    QString m_logTitle;
    bool m_empty = true;
};
