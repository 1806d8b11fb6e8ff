#pragma once

#include <QAbstractListModel>
#include <QCoroTask>
#include <QStringList>
#include <QUuid>

class DesktopServices;

// The task log sheet: the log of one task, known only by its id, so it also serves a task that
// has left the queue (the history screen opens it too). The log is read on the log thread, so a
// long log never stalls the window, and only its last `maxBytes` are shown, under a note line.
// The text reaches the view as a list of blocks of lines, so the view lays out only the blocks
// in sight; `text` is the whole of what is shown, for Copy. The user's selection is kept here,
// so that it can span blocks and stays while its blocks scroll out of sight and back.
class LogSheetModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString taskId READ taskId NOTIFY taskIdChanged)
    // What a screen reader calls the sheet: "Download Log" and the task's title.
    Q_PROPERTY(QString name READ name NOTIFY taskIdChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)

public:
    enum Roles {
        TextRole = Qt::UserRole + 1, // "text": a block of lines, without its last line end
        SelectedFromRole,            // "selectedFrom", "selectedTo": the block's part of the
        SelectedToRole,              // selection as positions in its text; equal when none
    };

    // More than this is not shown: laying out 2 MB of text already takes a good part of a second.
    static constexpr qint64 maxBytes = 2'000'000;
    // Small blocks: the view lays out whole blocks, so a screenful costs little more than its lines.
    static constexpr int linesPerBlock = 25;

    explicit LogSheetModel(DesktopServices *desktop, QObject *parent = nullptr);

    [[nodiscard]] QString taskId() const;
    [[nodiscard]] QString name() const;
    [[nodiscard]] const QString &text() const { return m_text; }
    [[nodiscard]] bool loading() const { return m_loading; }

    // Shows the sheet for a task, titled `title`: empty text, then the log once it has been read.
    Q_INVOKABLE void open(const QString &taskId, const QString &title = {});
    // Reads the log again; the answer of an earlier read that is still on its way is dropped.
    Q_INVOKABLE void refresh();
    // The sheet closed: a read still on its way is dropped.
    Q_INVOKABLE void close();
    // Puts what is shown on the clipboard, replacing what was there.
    Q_INVOKABLE void copy() const;
    // Shows the whole log file in the file manager, whether it exists or not.
    Q_INVOKABLE void revealFile() const;

    // A press at `position` of block `block` starts a new, empty selection there; dragging moves
    // its other end. Both are kept within the text.
    Q_INVOKABLE void press(int block, int position);
    Q_INVOKABLE void drag(int block, int position);
    [[nodiscard]] QString selectedText() const;
    // Puts the selection on the clipboard; without one, leaves the clipboard alone.
    Q_INVOKABLE void copySelection() const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void taskIdChanged();
    void textChanged();
    void loadingChanged();

private:
    QCoro::Task<> load(QUuid task, quint64 generation);
    struct Block
    {
        qsizetype start;
        qsizetype length;
    };

    // The text in runs of `linesPerBlock` lines, each without its last line end.
    static QList<Block> blocksOf(const QString &text);
    void show(const QString &text);
    void setLoading(bool loading);
    // The offset in `m_text` of a position in a block, kept within the text.
    [[nodiscard]] qsizetype offsetOf(int block, int position) const;
    // Tells the view that the blocks holding either end of the old or the new selection, and
    // those between, have changed.
    void selectionMoved(qsizetype anchor, qsizetype cursor);

    DesktopServices *m_desktop;
    QUuid m_task;
    QString m_title;
    // Bumped by every open, refresh and close: a read that finds it changed is out of date.
    quint64 m_generation = 0;
    QString m_text;
    QList<Block> m_blocks;
    // The selection runs between these offsets of `m_text`, in either order.
    qsizetype m_anchor = 0;
    qsizetype m_cursor = 0;
    bool m_loading = false;
};
