#include "DownloadTask.h"

#include "core/ErrorInterpreter.h"

#include <QDir>
#include <QFileInfo>
#include <QtNumeric>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Events alone never complete a task; only the queue manager sets the final value.
constexpr double eventProgressLimit = 0.995;

// Byte counts come from a child's output; absurd values must not overflow.
qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (qAddOverflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return sum;
}

double validFraction(double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
}

QString postprocessStage(const QString &name)
{
    static const QList<std::pair<QStringList, QString>> stages{
        {{QStringLiteral("Merger")}, QStringLiteral("Merging with FFmpeg")},
        {{QStringLiteral("ExtractAudio")}, QStringLiteral("Extracting audio")},
        {{QStringLiteral("EmbedThumbnail")}, QStringLiteral("Embedding thumbnail")},
        {{QStringLiteral("Metadata"), QStringLiteral("FFmpegMetadata")}, QStringLiteral("Embedding metadata")},
        {{QStringLiteral("EmbedSubtitle")}, QStringLiteral("Embedding subtitles")},
        // yt-dlp names its post-processors without the "FFmpeg" prefix in progress hooks.
        {{QStringLiteral("FFmpegSubtitlesConvertor"), QStringLiteral("SubtitlesConvertor")},
         QStringLiteral("Converting subtitles")},
        {{QStringLiteral("VideoConvertor"), QStringLiteral("FFmpegVideoConvertor")},
         QStringLiteral("Converting video")},
        {{QStringLiteral("MoveFiles")}, QStringLiteral("Moving file")},
    };
    for (const auto &[names, stage] : stages) {
        if (names.contains(name))
            return stage;
    }
    return QStringLiteral("Post-processing (") + name + QLatin1Char(')');
}

// yt-dlp downloads the streams it merges into "<name>.f<format id>.<ext>" each; a file of its
// own has no such part. Without the item's announced format (its line never came), the form of
// the name decides: a format id never holds a blank or one of the characters yt-dlp replaces in
// it, so a title with a dot in it ("clip.fhd [clip.fhd].mp4") is not taken for a part.
bool looksLikeMergePart(QStringView path)
{
    const QStringView name = path.sliced(path.lastIndexOf(u'/') + 1);
    const qsizetype extension = name.lastIndexOf(u'.');
    if (extension <= 0)
        return false;
    const qsizetype part = name.first(extension).lastIndexOf(u'.');
    if (part < 0 || extension - part <= 2 || name[part + 1] != u'f')
        return false;
    const QStringView formatId = name.sliced(part + 2, extension - part - 2);
    return std::none_of(formatId.cbegin(), formatId.cend(),
                        [](QChar c) { return c.isSpace() || QStringView(u",/+[]()").contains(c); });
}

// Whether `path` is one of the streams of the announced item: named after its final file, without
// the extension, then ".f", one of the merged formats and an extension. Names only: the streams
// may wait in a folder of their own.
bool isMergePart(QStringView path, const ProgressEvent::Target &target)
{
    const QStringList formats = target.format.split(u'+');
    if (formats.size() < 2)
        return false;
    const QStringView finalName = QStringView(target.path).sliced(target.path.lastIndexOf(u'/') + 1);
    const QStringView stem = finalName.first(std::max<qsizetype>(finalName.lastIndexOf(u'.'), 0));
    const QStringView name = path.sliced(path.lastIndexOf(u'/') + 1);
    if (stem.isEmpty() || !name.startsWith(stem) || !name.sliced(stem.size()).startsWith(u".f"))
        return false;
    const QStringView rest = name.sliced(stem.size() + 2);
    return std::any_of(formats.cbegin(), formats.cend(), [rest](const QString &format) {
        return rest.startsWith(format) && rest.sliced(format.size()).startsWith(u'.');
    });
}

// The path as an absolute one when it names something inside `folder`, else empty: a broken tool
// must not make us keep, measure or open a file elsewhere. A link inside the folder that leads
// out of it counts as outside.
QString insideFolder(const QString &path, const QString &folder)
{
    const QDir root(folder);
    const QString file = QDir::cleanPath(root.absoluteFilePath(path));
    const auto contains = [](const QString &parent, const QString &child) {
        return child.startsWith(parent.endsWith(u'/') ? parent : parent + u'/');
    };
    const QString rootPath = QDir::cleanPath(root.absolutePath());
    if (!contains(rootPath, file))
        return QString();
    const QString realFile = QFileInfo(file).canonicalFilePath();
    const QString realRoot = QFileInfo(rootPath).canonicalFilePath();
    if (!realFile.isEmpty() && !realRoot.isEmpty() && !contains(realRoot, realFile))
        return QString();
    return file;
}

} // namespace

DownloadTask::DownloadTask(const DownloadOptions &options, QObject *parent)
    : QObject(parent)
    , m_id(QUuid::createUuid())
    , m_options(options)
    , m_createdAt(QDateTime::currentDateTimeUtc())
{}

DownloadTask::DownloadTask(const TaskRecord &record, QObject *parent)
    : QObject(parent)
    , m_id(record.id)
    , m_options(record.options)
    , m_createdAt(record.createdAt)
    , m_status(record.status)
    , m_progress(validFraction(record.progress))
    , m_finalSize(record.finalSize)
    , m_itemIndex(record.itemIndex)
    , m_itemCount(record.itemCount)
    , m_itemTitle(record.itemTitle)
    , m_error(record.error)
    , m_outputFiles(record.outputFiles)
    , m_finishedAt(record.finishedAt)
{
    m_outputFiles.removeDuplicates();
}

QString DownloadTask::displayTitle() const
{
    if (!m_itemTitle.isEmpty() && (m_itemCount >= 2 || m_options.title.isEmpty()))
        return m_itemTitle;
    return m_options.title.isEmpty() ? m_options.url : m_options.title;
}

QUrl DownloadTask::firstFile() const
{
    return m_outputFiles.isEmpty() ? QUrl() : QUrl::fromLocalFile(m_outputFiles.last());
}

template<typename T> void DownloadTask::assign(T &field, const T &value, void (DownloadTask::*changed)())
{
    if (field == value)
        return;
    field = value;
    Q_EMIT(this->*changed)();
}

void DownloadTask::setStatus(TaskStatus status)
{
    assign(m_status, status, &DownloadTask::statusChanged);
}

void DownloadTask::setProgress(double progress)
{
    assign(m_progress, validFraction(progress), &DownloadTask::progressChanged);
}

void DownloadTask::setSpeed(std::optional<double> speed)
{
    assign(m_speed, speed, &DownloadTask::speedChanged);
}

void DownloadTask::setEta(std::optional<int> eta)
{
    assign(m_eta, eta, &DownloadTask::etaChanged);
}

void DownloadTask::setFinalSize(std::optional<qint64> size)
{
    assign(m_finalSize, size, &DownloadTask::finalSizeChanged);
}

void DownloadTask::setStage(const QString &stage)
{
    assign(m_stage, stage, &DownloadTask::stageChanged);
}

void DownloadTask::setError(const std::optional<QString> &error)
{
    assign(m_error, error, &DownloadTask::errorChanged);
}

void DownloadTask::setOutputFiles(const QStringList &files)
{
    QStringList distinct = files;
    distinct.removeDuplicates();
    assign(m_outputFiles, distinct, &DownloadTask::outputFilesChanged);
}

void DownloadTask::setFinishedAt(const std::optional<QDateTime> &finishedAt)
{
    m_finishedAt = finishedAt;
}

void DownloadTask::setProcess(std::shared_ptr<ManagedProcess> process)
{
    m_process = std::move(process);
}

void DownloadTask::setCurrentBytes(qint64 bytes)
{
    assign(m_currentBytes, bytes, &DownloadTask::currentBytesChanged);
}

void DownloadTask::setTotalBytes(std::optional<qint64> bytes)
{
    assign(m_totalBytes, bytes, &DownloadTask::totalBytesChanged);
}

TaskRecord DownloadTask::record() const
{
    TaskRecord record;
    record.id = m_id;
    record.options = m_options;
    record.status = m_status;
    record.progress = m_progress;
    record.createdAt = m_createdAt;
    record.finishedAt = m_finishedAt;
    record.outputFiles = m_outputFiles;
    record.finalSize = m_finalSize;
    record.error = m_error;
    record.itemIndex = m_itemIndex;
    record.itemCount = m_itemCount;
    record.itemTitle = m_itemTitle;
    return record;
}

void DownloadTask::resetRuntime()
{
    setSpeed(std::nullopt);
    setEta(std::nullopt);
    setTotalBytes(std::nullopt);
    setCurrentBytes(0);
    setStage(QString());
    m_errorLines.clear();
    m_inTraceback = false;
    m_tracebackError.reset();
    resetStreams();
    pauseRequested = false;
    cancelRequested = false;
}

void DownloadTask::resetStreams()
{
    m_target.reset();
    m_lastStreamFile.clear();
    m_mergePart = false;
    m_mergePartsBegun = 0;
    m_finishedStreamBytes = 0;
    m_lastTotal = 0;
}

void DownloadTask::advanceProgress(double fraction)
{
    // An item index beyond the count (yt-dlp did not know the playlist size) counts as the
    // last item known so far, so the fraction stays below one.
    const double items = std::max(m_itemCount, m_itemIndex);
    const double overall = (fraction + (double(m_itemIndex) - 1)) / items;
    if (std::isfinite(overall))
        setProgress(std::max(m_progress, std::min(overall, eventProgressLimit)));
}

void DownloadTask::apply(const ProgressEvent &event)
{
    if (const auto *progress = event.as<ProgressEvent::Progress>())
        applyProgress(*progress);
    else if (const auto *postprocess = event.as<ProgressEvent::Postprocess>())
        applyPostprocess(*postprocess);
    else if (const auto *item = event.as<ProgressEvent::Item>())
        applyItem(*item);
    else if (const auto *target = event.as<ProgressEvent::Target>())
        m_target = *target;
    else if (const auto *file = event.as<ProgressEvent::FinalFile>())
        addOutputFile(file->path);
    else if (event.as<ProgressEvent::Merging>()) {
        setStatus(TaskStatus::Processing);
        setStage(QStringLiteral("Merging with FFmpeg"));
    } else if (const auto *error = event.as<ProgressEvent::Error>())
        m_errorLines.append(error->message);
    else if (const auto *info = event.as<ProgressEvent::Info>()) {
        if (auto exception = ErrorInterpreter::followTraceback(info->line, m_inTraceback))
            m_tracebackError = std::move(exception);
    }
}

QStringList DownloadTask::errorLines() const
{
    if (m_errorLines.isEmpty() && m_tracebackError)
        return {*m_tracebackError};
    return m_errorLines;
}

void DownloadTask::applyProgress(const ProgressEvent::Progress &event)
{
    setStatus(TaskStatus::Downloading);

    // A new file name means the previous stream of this item is done.
    if (event.filename != m_lastStreamFile) {
        if (!m_lastStreamFile.isEmpty())
            m_finishedStreamBytes = saturatingAdd(m_finishedStreamBytes, m_lastTotal);
        m_lastStreamFile = event.filename;
        m_mergePart = m_target ? isMergePart(event.filename, *m_target) : looksLikeMergePart(event.filename);
        if (m_mergePart)
            ++m_mergePartsBegun;
    }
    m_lastTotal = event.total.value_or(event.downloaded);

    setSpeed(event.speed);
    setEta(event.eta);
    setCurrentBytes(saturatingAdd(m_finishedStreamBytes, event.downloaded));
    setTotalBytes(event.total ? std::optional(saturatingAdd(m_finishedStreamBytes, *event.total)) : std::nullopt);

    double fraction = 0;
    if (event.total && *event.total > 0)
        fraction = std::min(double(event.downloaded) / double(*event.total), 1.0);
    if (m_mergePart) {
        // One of two streams to merge; the video, first, is by far the larger part of the item.
        const bool first = m_mergePartsBegun == 1;
        advanceProgress(first ? 0.9 * fraction : 0.9 + 0.1 * fraction);
        setStage(first ? QStringLiteral("Downloading stream 1/2") : QStringLiteral("Downloading stream 2/2"));
    } else {
        advanceProgress(fraction);
        setStage(QStringLiteral("Downloading"));
    }
}

void DownloadTask::applyPostprocess(const ProgressEvent::Postprocess &event)
{
    // Steps of our own, no work the user asked for: the one in which yt-dlp waits at the runner's
    // gate before each download (the task shows what it waits for, or its download, instead), and
    // the one that makes the fields of a name fit for it.
    if (event.name == QLatin1String("Exec") || event.name == QLatin1String("MetadataParser"))
        return;
    setStatus(TaskStatus::Processing);
    setSpeed(std::nullopt);
    setEta(std::nullopt);
    if (event.status == QLatin1String("started") || event.status == QLatin1String("processing"))
        setStage(postprocessStage(event.name));
}

void DownloadTask::applyItem(const ProgressEvent::Item &event)
{
    setItem(event.index, std::max(event.count, 1), event.title);
    resetStreams();
    if (m_status == TaskStatus::Processing) // post-processing of the previous item is over
        setStatus(TaskStatus::Downloading);
    advanceProgress(0);
}

void DownloadTask::setItem(int index, int count, const QString &title)
{
    const QString shownBefore = displayTitle();
    assign(m_itemIndex, index, &DownloadTask::itemIndexChanged);
    assign(m_itemCount, count, &DownloadTask::itemCountChanged);
    assign(m_itemTitle, title, &DownloadTask::itemTitleChanged);
    if (displayTitle() != shownBefore)
        Q_EMIT displayTitleChanged();
}

void DownloadTask::addOutputFile(const QString &reported)
{
    const QString path = insideFolder(reported, m_options.folder);
    if (path.isEmpty() || m_outputFiles.contains(path))
        return;
    m_outputFiles.append(path);
    Q_EMIT outputFilesChanged();
}
