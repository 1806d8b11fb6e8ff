#include "DependencyManager.h"

#include "core/AppPaths.h"
#include "core/DenoManager.h"
#include "core/EJSManager.h"
#include "core/FFmpegManager.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/ProcessRunner.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"
#include "platform/ArchiveExtractor.h"
#include "tools/FileDownloader.h"
#include "tools/InstallRun.h"
#include "tools/NetworkReplyPtr.h"
#include "tools/UpdateCheck.h"
#include "tools/WorkFolder.h"

#include <QCoroSignal>
#include <QCoroTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

using namespace std::chrono_literals;

// No tool we install comes near this; a bigger member is a broken or hostile archive. The same
// bound as a download, packed or bare.
constexpr qint64 maxExecutableSize = FileDownloader::defaultSizeLimit;
// A file just written can refuse to start for a moment ("Text file busy") while a child
// forked elsewhere in this process still holds it open; a second probe waits this long.
constexpr auto secondProbeDelay = 500ms;
constexpr auto probeTimeout = 60s;
constexpr auto releaseLookupTimeout = 15s;

const QString ellipsis = QStringLiteral("\u2026");

ToolError installError(int code, const QString &message)
{
    return {QStringLiteral("Install"), code, message};
}

QString toolsFolder()
{
    return AppPaths::sub(QStringLiteral("Tools"));
}

} // namespace

DependencyManager::DependencyManager(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_current(QStringLiteral("Checking tools") + ellipsis)
{
    for (const Tool tool : Tools::all())
        m_states.emplace(tool, ComponentState());
    WorkFolder::removeLeftovers();
    const ToolManifest::Loaded loaded = ToolManifest::load();
    m_manifest = loaded.entries;
    m_manifestUnreadable = loaded.unreadable;
}

ComponentState DependencyManager::state(Tool tool) const
{
    const auto found = m_states.find(tool);
    return found == m_states.end() ? ComponentState() : found->second;
}

double DependencyManager::overall() const
{
    double sum = 0;
    for (const Tool tool : Tools::all()) {
        const ComponentState entry = state(tool);
        sum += entry.status.kind == ComponentStatus::Kind::Installed ? 1.0 : entry.progress;
    }
    return sum / 5.0;
}

void DependencyManager::setStatus(Tool tool, const ComponentStatus &status)
{
    const auto found = m_states.find(tool);
    if (found == m_states.end() || found->second.status == status)
        return;
    found->second.status = status;
    Q_EMIT statesChanged();
}

void DependencyManager::setProgress(Tool tool, double progress)
{
    const auto found = m_states.find(tool);
    if (found == m_states.end() || found->second.progress == progress)
        return;
    found->second.progress = progress;
    Q_EMIT statesChanged();
}

void DependencyManager::recordInstall(Tool tool, const QString &version, const QString &source)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // Whole seconds: the file keeps no more, and what is in memory should match it.
    m_manifest[Tools::rawValue(tool)] = ManifestEntry{version, now.addMSecs(-now.time().msec()), source};
    saveManifest();
}

void DependencyManager::saveManifest()
{
    // The unreadable file is moved aside once: a save that fails after the move must not lead a
    // later one to set aside whatever is there by then; while the move itself fails, nothing
    // overwrites the file.
    if (m_manifestUnreadable) {
        if (!Json::moveAside(ToolManifest::path()))
            return;
        m_manifestUnreadable = false;
    }
    ToolManifest::save(m_manifest);
}

std::optional<ToolSpec> DependencyManager::specFor(Tool tool)
{
    switch (tool) {
    case Tool::Ytdlp: return YTDLPManager::spec();
    case Tool::Ffmpeg:
    case Tool::Ffprobe: return FFmpegManager::spec(tool);
    case Tool::Deno: return DenoManager::spec();
    case Tool::Ejs: break;
    }
    return std::nullopt;
}

std::optional<QString> DependencyManager::parseVersion(Tool tool, const QString &output)
{
    const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString line = lines.value(0);
    switch (tool) {
    case Tool::Ytdlp: {
        // Spaces and tabs only: a stray CR or other whitespace stays, as the tool printed it.
        qsizetype first = 0;
        qsizetype last = line.size();
        const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
        while (first < last && blank(line[first]))
            ++first;
        while (last > first && blank(line[last - 1]))
            --last;
        if (first == last)
            return std::nullopt;
        return line.mid(first, last - first);
    }
    case Tool::Ffmpeg:
    case Tool::Ffprobe: {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() >= 3 && words[1] == QStringLiteral("version"))
            return words[2];
        return std::nullopt;
    }
    case Tool::Deno: {
        QString rest = line;
        rest.remove(QStringLiteral("deno "));
        const QStringList words = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            return std::nullopt;
        return words.first();
    }
    case Tool::Ejs: break;
    }
    return std::nullopt;
}

QCoro::Task<std::optional<QString>> DependencyManager::validate(Tool tool, std::optional<QString> path)
{
    const std::optional<ToolSpec> spec = specFor(tool);
    if (!spec)
        co_return std::nullopt; // yt-dlp-ejs: nothing to run
    const QString file = path.value_or(Tools::path(tool));
    // A folder has the execute bit too; only a regular file (or a link to one) can run.
    const QFileInfo info(file);
    if (!info.isFile() || !info.isExecutable())
        co_return std::nullopt;
    const RunResult result = co_await ProcessRunner::run(file, spec->versionArgs, probeTimeout);
    if (result.status != 0)
        co_return std::nullopt;
    co_return parseVersion(tool, result.stdoutText);
}

QCoro::Task<std::optional<QString>> DependencyManager::latestTag(QUrl url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Morvane/1.0"));
    request.setTransferTimeout(static_cast<int>(std::chrono::milliseconds(releaseLookupTimeout).count()));
    const NetworkReplyPtr reply(m_network->get(request));
    if (!reply->isFinished())
        co_await qCoro(reply.get(), &QNetworkReply::finished);
    // An error status still has a body; only a body without "tag_name" means nothing.
    const auto object = Json::parseObject(reply->readAll());
    if (!object)
        co_return std::nullopt;
    const QJsonValue tag = object->value(QStringLiteral("tag_name"));
    if (!tag.isString())
        co_return std::nullopt;
    co_return tag.toString();
}

QCoro::Task<std::optional<ToolError>> DependencyManager::fetch(Tool tool, QUrl url, QString file)
{
    FileDownloader downloader(m_network);
    downloader.setSizeLimit(m_downloadSizeLimit);
    const QPointer<DependencyManager> self(this);
    // Built before the co_await: g++ 12 mishandles temporaries inside a co_await expression.
    const std::function<void(double)> onProgress = [self, tool](double fraction) {
        if (self)
            self->setProgress(tool, fraction * 0.9);
    };
    co_return co_await downloader.download(url, file, onProgress);
}

QCoro::Task<DependencyManager::InstallResult> DependencyManager::attempt(ToolSpec spec, QUrl url, QString workFolder,
                                                                         std::shared_ptr<InstallRun> run)
{
    const Tool tool = spec.tool;
    const QString name = QFileInfo(Tools::path(tool)).fileName();
    const QString file = workFolder + QLatin1Char('/') + name;
    // A quit may destroy the manager during any wait: the install then stops where it is.
    const QPointer<DependencyManager> self(this);
    const InstallResult stopped{std::nullopt, installError(5, QStringLiteral("Stopped."))};
    setStatus(tool, ComponentStatus::working(QStringLiteral("Downloading ") + url.host() + ellipsis));

    if (spec.archive == ArchiveKind::None) {
        if (const auto error = co_await fetch(tool, url, file))
            co_return InstallResult{std::nullopt, *error};
        if (!self)
            co_return stopped;
    } else {
        const QString archiveName =
            spec.archive == ArchiveKind::Zip ? QStringLiteral("Download.zip") : QStringLiteral("Download.tar.xz");
        std::optional<QString> archive = run ? run->archiveFor(url) : std::nullopt;
        if (archive) {
            setProgress(tool, 0.9); // fetched earlier in this run
        } else {
            archive = run ? run->newArchivePath(archiveName) : workFolder + QLatin1Char('/') + archiveName;
            if (const auto error = co_await fetch(tool, url, *archive))
                co_return InstallResult{std::nullopt, *error};
            if (!self)
                co_return stopped;
            if (run)
                run->remember(url, *archive);
        }
        setStatus(tool, ComponentStatus::working(QStringLiteral("Extracting") + ellipsis));
        const auto extracted = co_await ArchiveExtractor::extractMember(*archive, name, file, maxExecutableSize);
        if (!self)
            co_return stopped;
        if (extracted.status == ArchiveExtractor::Status::Failed)
            co_return InstallResult{std::nullopt,
                                    installError(2, QStringLiteral("Could not extract archive: ") + extracted.error)};
        if (extracted.status == ArchiveExtractor::Status::NotFound)
            co_return InstallResult{std::nullopt, installError(3, name + QStringLiteral(" not found in archive."))};
    }

    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                      QFile::ReadOther | QFile::ExeOther;
    if (!QFile::setPermissions(file, mode))
        co_return InstallResult{std::nullopt,
                                {QStringLiteral("File"), 0, QStringLiteral("Could not make %1 executable.").arg(name)}};

    setStatus(tool, ComponentStatus::working(QStringLiteral("Validating") + ellipsis));
    setProgress(tool, 0.95);
    std::optional<QString> version = co_await validate(tool, file);
    if (self && !version) {
        co_await QCoro::sleepFor(secondProbeDelay);
        if (self)
            version = co_await validate(tool, file);
    }
    if (!self)
        co_return stopped;
    if (!version)
        co_return InstallResult{std::nullopt, installError(4, QStringLiteral("Downloaded ") + Tools::rawValue(tool) +
                                                                  QStringLiteral(" failed validation."))};

    // rename(2) swaps the file in one step: a running copy keeps its old inode, and no
    // reader ever sees a half-written tool.
    const QString destination = toolsFolder() + QLatin1Char('/') + name;
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(destination).constData()) != 0) {
        const int error = errno;
        const QString reason = QString::fromLocal8Bit(std::strerror(error));
        co_return InstallResult{
            std::nullopt,
            {QStringLiteral("File"), error, QStringLiteral("Could not move %1 into place: %2").arg(name, reason)}};
    }
    co_return InstallResult{Installed{*version, url.toString(QUrl::FullyEncoded)}, {}};
}

QCoro::Task<DependencyManager::InstallResult> DependencyManager::installOne(ToolSpec spec,
                                                                            std::shared_ptr<InstallRun> run)
{
    InstallResult last{std::nullopt, installError(1, QStringLiteral("No download source available."))};
    for (const QUrl &url : spec.urls) {
        const QString workFolder = WorkFolder::make();
        if (workFolder.isEmpty()) {
            co_return InstallResult{std::nullopt,
                                    {QStringLiteral("File"), 0,
                                     QStringLiteral("Could not create a work folder in %1.").arg(toolsFolder())}};
        }
        const QPointer<DependencyManager> self(this);
        InstallResult result = co_await attempt(spec, url, workFolder, run);
        QDir(workFolder).removeRecursively();
        if (result.ok() || !self)
            co_return result;
        LogManager::appLog(QStringLiteral("Source ") + url.toString(QUrl::FullyEncoded) + QStringLiteral(" failed: ") +
                           result.error.message);
        last = std::move(result);
    }
    co_return last;
}

// ---- Bootstrap, updates, repair and verification ----

namespace {

const QString lastUpdateCheckKey = QStringLiteral("lastUpdateCheck");

// Every tool but the yt-dlp-ejs scripts, which yt-dlp brings or fetches itself.
QList<Tool> downloadableTools()
{
    QList<Tool> tools = Tools::all();
    tools.removeAll(Tool::Ejs);
    return tools;
}

bool isInstalled(const ComponentState &state)
{
    return state.status.kind == ComponentStatus::Kind::Installed;
}

} // namespace

void DependencyManager::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged();
}

void DependencyManager::setCurrent(const QString &text)
{
    if (m_current == text)
        return;
    m_current = text;
    Q_EMIT currentChanged();
}

void DependencyManager::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged();
}

void DependencyManager::setEjsDetail(const QString &detail)
{
    if (m_ejsDetail == detail)
        return;
    m_ejsDetail = detail;
    Q_EMIT ejsDetailChanged();
}

void DependencyManager::setRunningDiagnostics(bool running)
{
    if (m_runningDiagnostics == running)
        return;
    m_runningDiagnostics = running;
    Q_EMIT runningDiagnosticsChanged();
}

void DependencyManager::replaceState(Tool tool, const ComponentState &state)
{
    ComponentState &entry = m_states[tool];
    if (entry == state)
        return;
    entry = state;
    Q_EMIT statesChanged();
}

void DependencyManager::setVersion(Tool tool, const QString &version)
{
    ComponentState entry = state(tool);
    entry.version = version;
    replaceState(tool, entry);
}

void DependencyManager::setLatest(Tool tool, const QString &tag)
{
    ComponentState entry = state(tool);
    entry.latest = tag;
    replaceState(tool, entry);
}

QCoro::Task<> DependencyManager::bootstrap()
{
    if (m_busy)
        co_return;
    setBusy(true);
    setPhase(Phase::Checking);
    setCurrent(QStringLiteral("Checking installed tools") + ellipsis);
    // The probes are child processes that may outlive us: nothing of the manager is touched
    // once it is gone.
    const QPointer<DependencyManager> self(this);
    QList<Tool> missing;
    for (const Tool tool : downloadableTools()) {
        const std::optional<QString> version = co_await validate(tool);
        if (!self)
            co_return;
        if (version) {
            replaceState(tool, {ComponentStatus::installed(), 1.0, version, std::nullopt});
        } else {
            replaceState(tool, ComponentState());
            missing.append(tool);
        }
    }
    if (!missing.isEmpty())
        co_await install(missing, false);
    if (!self)
        co_return;
    co_await finishVerification();
    if (self)
        setBusy(false);
}

QCoro::Task<> DependencyManager::updateTools()
{
    if (m_busy)
        co_return;
    // The caption first: whoever follows the busy state reads the check's text, not the last run's.
    setCurrent(QStringLiteral("Checking for tool updates") + ellipsis);
    setBusy(true);
    const QList<std::pair<Tool, QUrl>> lookups{{Tool::Ytdlp, YTDLPManager::latestAPI()},
                                               {Tool::Deno, DenoManager::latestAPI()}};
    const QPointer<DependencyManager> self(this);
    QList<Tool> outdated;
    for (const auto &[tool, address] : lookups) {
        const std::optional<QString> tag = co_await latestTag(address);
        if (!self)
            co_return;
        if (!tag)
            continue;
        setLatest(tool, *tag);
        if (!UpdateCheck::isUpToDate(*tag, state(tool).version.value_or(QString())))
            outdated.append(tool);
    }
    // Also after failed lookups: a release host that is down is asked again tomorrow, not at
    // every start.
    SettingsStore::set(lastUpdateCheckKey, Json::dateText(m_now()));
    if (!outdated.isEmpty())
        co_await install(outdated, true);
    if (!self)
        co_return;
    co_await finishVerification();
    if (self)
        setBusy(false);
}

QCoro::Task<> DependencyManager::autoUpdateIfDue()
{
    if (!SettingsStore::boolean(QStringLiteral("autoUpdateTools")) || m_phase != Phase::Ready)
        co_return;
    const std::optional<QDateTime> last = SettingsStore::isStored(lastUpdateCheckKey)
                                              ? Json::parseDate(SettingsStore::string(lastUpdateCheckKey))
                                              : std::nullopt;
    if (UpdateCheck::isDue(last, m_now()))
        co_await updateTools();
}

QCoro::Task<> DependencyManager::repair()
{
    if (m_busy)
        co_return;
    setBusy(true);
    setPhase(Phase::Installing);
    const QPointer<DependencyManager> self(this);
    co_await install(downloadableTools(), false);
    if (!self)
        co_return;
    co_await finishVerification();
    if (self)
        setBusy(false);
}

QCoro::Task<> DependencyManager::install(QList<Tool> tools, bool quietPhase)
{
    if (!quietPhase)
        setPhase(Phase::Installing);
    tools.removeAll(Tool::Ejs);
    // FFmpeg and ffprobe come in one archive: fetched once for both.
    const auto run = std::make_shared<InstallRun>();
    const QPointer<DependencyManager> self(this);
    for (qsizetype i = 0; i < tools.size(); ++i) {
        const Tool tool = tools[i];
        const QString name = Tools::rawValue(tool);
        setCurrent(QStringLiteral("Installing %1 (%2/%3)").arg(name).arg(i + 1).arg(tools.size()));
        const bool wasInstalled = isInstalled(state(tool));
        setStatus(tool, ComponentStatus::working(QStringLiteral("Downloading") + ellipsis));
        setProgress(tool, 0);
        const InstallResult result = co_await installOne(*specFor(tool), run);
        if (!self)
            co_return;
        if (result.ok()) {
            replaceState(tool, {ComponentStatus::installed(), 1.0, result.installed->version, std::nullopt});
            recordInstall(tool, result.installed->version, result.installed->source);
            continue;
        }
        LogManager::appLog(QStringLiteral("Install ") + name + QStringLiteral(" failed: ") + result.error.message);
        // The copy that worked before is still in place unless it has stopped working too.
        if (wasInstalled) {
            const std::optional<QString> version = co_await validate(tool);
            if (!self)
                co_return;
            if (version) {
                replaceState(tool, {ComponentStatus::installed(), 1.0, version, std::nullopt});
                continue;
            }
        }
        setStatus(tool, ComponentStatus::failed(result.error.message));
    }
    if (!quietPhase) {
        const QList<Tool> all = downloadableTools();
        const bool allInstalled =
            std::all_of(all.begin(), all.end(), [this](Tool tool) { return isInstalled(state(tool)); });
        setPhase(allInstalled ? Phase::Checking : Phase::Failed);
    }
}

QCoro::Task<> DependencyManager::finishVerification()
{
    const QPointer<DependencyManager> self(this);
    const ToolCheck ejs = co_await EJSManager::status();
    if (!self)
        co_return;
    setEjsDetail(ejs.detail);
    replaceState(Tool::Ejs, ejs.ok ? ComponentState{ComponentStatus::installed(), 1.0, QStringLiteral("ready"), {}}
                                   : ComponentState{ComponentStatus::failed(ejs.detail), 1.0, {}, {}});
    setCurrent(QStringLiteral("Running smoke tests") + ellipsis);
    // A yt-dlp that is not in place has nothing to test, and its row keeps the reason it is not.
    if (isInstalled(state(Tool::Ytdlp))) {
        const ToolCheck smoke = co_await YTDLPManager::smokeTest();
        if (!self)
            co_return;
        if (!smoke.ok)
            setStatus(Tool::Ytdlp, ComponentStatus::failed(QStringLiteral("Smoke test failed: ") + smoke.detail));
    }
    const QList<Tool> all = Tools::all();
    const bool allReady = std::all_of(all.begin(), all.end(), [this](Tool tool) { return isInstalled(state(tool)); });
    setPhase(allReady ? Phase::Ready : Phase::Failed);
    setCurrent(allReady ? QStringLiteral("All tools ready") : QStringLiteral("Some tools need attention"));
    LogManager::appLog(QStringLiteral("Dependency verification: ready=") +
                       (allReady ? QLatin1String("true") : QLatin1String("false")));
}

// ---- Diagnostics ----

QCoro::Task<> DependencyManager::runDiagnostics()
{
    // Runs may overlap; the flag stays up until the last of them has published its list.
    ++m_diagnosticRuns;
    setRunningDiagnostics(true);
    QList<DiagnosticItem> items{Diagnostics::systemItem(), Diagnostics::architectureItem()};
    const QPointer<DependencyManager> self(this);
    for (const Tool tool : downloadableTools()) {
        const std::optional<QString> version = co_await validate(tool);
        if (!self)
            co_return;
        if (version)
            setVersion(tool, *version);
        items.append(Diagnostics::toolItem(tool, version));
    }
    const ToolCheck ejs = co_await EJSManager::status();
    if (!self)
        co_return;
    setEjsDetail(ejs.detail);
    items.append({QUuid::createUuid(), Tools::rawValue(Tool::Ejs), ejs.ok, ejs.detail});

    using SmokeTest = QCoro::Task<ToolCheck> (*)();
    const QList<std::pair<QString, SmokeTest>> smokeTests{
        {QStringLiteral("yt-dlp smoke test"), &YTDLPManager::smokeTest},
        {QStringLiteral("FFmpeg smoke test"), &FFmpegManager::smokeTest},
        {QStringLiteral("Deno smoke test"), &DenoManager::smokeTest}};
    for (const auto &[name, test] : smokeTests) {
        // Without yt-dlp none of the tools is any use, so their tests are left out rather
        // than listed as failures.
        if (!QFileInfo::exists(Tools::path(Tool::Ytdlp)))
            continue;
        const ToolCheck check = co_await test();
        items.append({QUuid::createUuid(), name, check.ok, check.detail});
    }
    if (!self)
        co_return;
    if (const std::optional<DiagnosticItem> disk = Diagnostics::diskItem(m_freeSpace()))
        items.append(*disk);

    m_diagnostics = items;
    Q_EMIT diagnosticsChanged();
    if (--m_diagnosticRuns == 0)
        setRunningDiagnostics(false);
}

QString DependencyManager::report() const
{
    return Diagnostics::report(m_diagnostics, m_now(), toolsFolder());
}
