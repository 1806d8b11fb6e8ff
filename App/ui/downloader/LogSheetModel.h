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
// in sight; `text` is the whole of what is shown, for Copy.
class LogSheetModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString taskId READ taskId NOTIFY taskIdChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)

public:
    enum Roles { TextRole = Qt::UserRole + 1 }; // "text": a block of lines, without its last line end

    // More than this is not shown: laying out 2 MB of text already takes a good part of a second.
    static constexpr qint64 maxBytes = 2'000'000;
    // Small blocks: the view lays out whole blocks, so a screenful costs little more than its lines.
    static constexpr int linesPerBlock = 25;

    explicit LogSheetModel(DesktopServices *desktop, QObject *parent = nullptr);

    [[nodiscard]] QString taskId() const;
    [[nodiscard]] const QString &text() const { return m_text; }
    [[nodiscard]] bool loading() const { return m_loading; }

    // Shows the sheet for a task: empty text, then the log once it has been read.
    Q_INVOKABLE void open(const QString &taskId);
    // Reads the log again; the answer of an earlier read that is still on its way is dropped.
    Q_INVOKABLE void refresh();
    // The sheet closed: a read still on its way is dropped.
    Q_INVOKABLE void close();
    // Puts what is shown on the clipboard, replacing what was there.
    Q_INVOKABLE void copy() const;
    // Shows the whole log file in the file manager, whether it exists or not.
    Q_INVOKABLE void revealFile() const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void taskIdChanged();
    void textChanged();
    void loadingChanged();

private:
    QCoro::Task<> load(QUuid task, quint64 generation);
    void show(const QString &text);
    void setLoading(bool loading);

    DesktopServices *m_desktop;
    QUuid m_task;
    // Bumped by every open, refresh and close: a read that finds it changed is out of date.
    quint64 m_generation = 0;
    QString m_text;
    QStringList m_blocks;
    bool m_loading = false;
};
