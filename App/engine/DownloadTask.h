#pragma once

#include "core/ProgressEvent.h"
#include "engine/DownloadOptions.h"
#include "engine/TaskRecord.h"
#include "engine/TaskStatus.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QUuid>

#include <memory>
#include <optional>

class ManagedProcess;

// One download in the queue: the request, the live state the queue rows show, and the
// bookkeeping that turns yt-dlp's parsed output into that state. Lives on the main thread.
//
// The queue manager creates and owns it, writes the status, stage and outcome, and feeds every
// parsed output line of a run to apply(). Every published property signals only a real change.
class DownloadTask final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUuid id READ id CONSTANT)
    Q_PROPERTY(TaskStatus status READ status NOTIFY statusChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(std::optional<double> speed READ speed NOTIFY speedChanged)
    Q_PROPERTY(std::optional<int> eta READ eta NOTIFY etaChanged)
    Q_PROPERTY(qint64 currentBytes READ currentBytes NOTIFY currentBytesChanged)
    Q_PROPERTY(std::optional<qint64> totalBytes READ totalBytes NOTIFY totalBytesChanged)
    Q_PROPERTY(std::optional<qint64> finalSize READ finalSize NOTIFY finalSizeChanged)
    Q_PROPERTY(QString stage READ stage NOTIFY stageChanged)
    Q_PROPERTY(int itemIndex READ itemIndex NOTIFY itemIndexChanged)
    Q_PROPERTY(int itemCount READ itemCount NOTIFY itemCountChanged)
    Q_PROPERTY(QString itemTitle READ itemTitle NOTIFY itemTitleChanged)
    Q_PROPERTY(std::optional<QString> error READ error NOTIFY errorChanged)
    Q_PROPERTY(QStringList outputFiles READ outputFiles NOTIFY outputFilesChanged)
    Q_PROPERTY(QString displayTitle READ displayTitle NOTIFY displayTitleChanged)
    Q_PROPERTY(QUrl firstFile READ firstFile NOTIFY outputFilesChanged)

public:
    // A new task for a new request: a fresh id, created now, queued.
    explicit DownloadTask(const DownloadOptions &options, QObject *parent = nullptr);
    // A task restored from the queue file, status and playlist item unchanged; runtime state as in
    // a new task.
    explicit DownloadTask(const TaskRecord &record, QObject *parent = nullptr);

    [[nodiscard]] const QUuid &id() const { return m_id; }
    [[nodiscard]] const DownloadOptions &options() const { return m_options; }
    [[nodiscard]] const QDateTime &createdAt() const { return m_createdAt; }
    [[nodiscard]] TaskStatus status() const { return m_status; }
    [[nodiscard]] double progress() const { return m_progress; }
    [[nodiscard]] std::optional<double> speed() const { return m_speed; }
    [[nodiscard]] std::optional<int> eta() const { return m_eta; }
    [[nodiscard]] qint64 currentBytes() const { return m_currentBytes; }
    [[nodiscard]] std::optional<qint64> totalBytes() const { return m_totalBytes; }
    [[nodiscard]] std::optional<qint64> finalSize() const { return m_finalSize; }
    [[nodiscard]] const QString &stage() const { return m_stage; }
    [[nodiscard]] int itemIndex() const { return m_itemIndex; }
    [[nodiscard]] int itemCount() const { return m_itemCount; }
    [[nodiscard]] const QString &itemTitle() const { return m_itemTitle; }
    [[nodiscard]] const std::optional<QString> &error() const { return m_error; }
    [[nodiscard]] const QStringList &outputFiles() const { return m_outputFiles; }
    [[nodiscard]] const std::optional<QDateTime> &finishedAt() const { return m_finishedAt; }
    // Error lines yt-dlp printed during this run, for the failure message; with none, the
    // message of the last Python traceback it printed, if any.
    [[nodiscard]] QStringList errorLines() const;

    // The item title for a playlist (or an untitled request), else the request's title, else its link.
    [[nodiscard]] QString displayTitle() const;
    // The most recently reported final file; empty when there is none.
    [[nodiscard]] QUrl firstFile() const;

    // The queue manager's writes. Progress is kept finite and within 0...1.
    void setStatus(TaskStatus status);
    void setProgress(double progress);
    void setSpeed(std::optional<double> speed);
    void setEta(std::optional<int> eta);
    void setFinalSize(std::optional<qint64> size);
    void setStage(const QString &stage);
    void setError(const std::optional<QString> &error);
    void setOutputFiles(const QStringList &files);
    void setFinishedAt(const std::optional<QDateTime> &finishedAt);

    // The running yt-dlp child, shared with whatever still has to signal it after the run.
    [[nodiscard]] const std::shared_ptr<ManagedProcess> &process() const { return m_process; }
    void setProcess(std::shared_ptr<ManagedProcess> process);

    // What the user asked of the running child; read once when it has exited.
    bool pauseRequested = false;
    bool cancelRequested = false;
    bool removeRequested = false;

    // The stored fields, for "queue.json".
    [[nodiscard]] TaskRecord record() const;

    // Clears the state of the previous run before a new one: speed, time left, byte counters,
    // stage, error lines, stream accounting and the pause and cancel requests.
    void resetRuntime();

    // Folds one parsed output line of the running child into the state.
    void apply(const ProgressEvent &event);

Q_SIGNALS:
    void statusChanged();
    void progressChanged();
    void speedChanged();
    void etaChanged();
    void currentBytesChanged();
    void totalBytesChanged();
    void finalSizeChanged();
    void stageChanged();
    void itemIndexChanged();
    void itemCountChanged();
    void itemTitleChanged();
    void errorChanged();
    void outputFilesChanged();
    void displayTitleChanged();

private:
    void applyProgress(const ProgressEvent::Progress &event);
    void applyPostprocess(const ProgressEvent::Postprocess &event);
    void applyItem(const ProgressEvent::Item &event);
    // Takes a final file yt-dlp reported, when it lies inside the download folder.
    void addOutputFile(const QString &reported);

    // Raises progress to `fraction` (never lowers it); events alone stop at 0.995, below done.
    void advanceProgress(double fraction);
    void setCurrentBytes(qint64 bytes);
    void setTotalBytes(std::optional<qint64> bytes);
    void setItem(int index, int count, const QString &title);
    void resetStreams();
    template<typename T> void assign(T &field, const T &value, void (DownloadTask::*changed)());

    QUuid m_id;
    DownloadOptions m_options;
    QDateTime m_createdAt;
    TaskStatus m_status = TaskStatus::Queued;
    double m_progress = 0;
    std::optional<double> m_speed;
    std::optional<int> m_eta;
    qint64 m_currentBytes = 0;
    std::optional<qint64> m_totalBytes;
    std::optional<qint64> m_finalSize;
    QString m_stage;
    int m_itemIndex = 1;
    int m_itemCount = 1;
    QString m_itemTitle;
    std::optional<QString> m_error;
    QStringList m_outputFiles;
    std::optional<QDateTime> m_finishedAt;
    std::shared_ptr<ManagedProcess> m_process;

    QStringList m_errorLines;
    bool m_inTraceback = false;
    std::optional<QString> m_tracebackError;
    // What yt-dlp announced for the current item before downloading it.
    std::optional<ProgressEvent::Target> m_target;
    QString m_lastStreamFile;
    // Whether that file is one of the two streams yt-dlp merges, and how many such files of the
    // current item have begun.
    bool m_mergePart = false;
    int m_mergePartsBegun = 0;
    qint64 m_finishedStreamBytes = 0;
    qint64 m_lastTotal = 0;
};
