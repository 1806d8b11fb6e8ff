#pragma once

#include "core/Tool.h"
#include "core/ToolSpec.h"
#include "tools/ComponentState.h"
#include "tools/DiagnosticItem.h"
#include "tools/Diagnostics.h"
#include "tools/FileDownloader.h"
#include "tools/ToolError.h"
#include "tools/ToolManifest.h"

#include <QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class InstallRun;
class QNetworkAccessManager;

// Owns the application's copies of the external tools: their state for the screens, the
// install pipeline, the version probe, the release lookup and "manifest.json". One object,
// created by the coordinator, living on the main thread for the whole process.
class DependencyManager final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QString current READ current NOTIFY currentChanged)
    Q_PROPERTY(bool runningDiagnostics READ runningDiagnostics NOTIFY runningDiagnosticsChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString ejsDetail READ ejsDetail NOTIFY ejsDetailChanged)
    Q_PROPERTY(double overall READ overall NOTIFY statesChanged)
    Q_PROPERTY(QString report READ report NOTIFY diagnosticsChanged)

public:
    enum class Phase { Checking, Installing, Ready, Failed };
    Q_ENUM(Phase)

    // What a successful install yields: the probed version and the URL it came from.
    struct Installed
    {
        QString version;
        QString source;
    };
    struct InstallResult
    {
        std::optional<Installed> installed;
        ToolError error; // when nothing was installed

        [[nodiscard]] bool ok() const { return installed.has_value(); }
    };

    // `network` is the process's one network manager; it must outlive this object.
    // Removes work folders an earlier run left behind, then loads the manifest.
    explicit DependencyManager(QNetworkAccessManager *network, QObject *parent = nullptr);

    [[nodiscard]] Phase phase() const { return m_phase; }
    [[nodiscard]] const std::map<Tool, ComponentState> &states() const { return m_states; }
    [[nodiscard]] ComponentState state(Tool tool) const;
    [[nodiscard]] QString current() const { return m_current; }
    [[nodiscard]] const QList<DiagnosticItem> &diagnostics() const { return m_diagnostics; }
    [[nodiscard]] bool runningDiagnostics() const { return m_runningDiagnostics; }
    [[nodiscard]] bool busy() const { return m_busy; }
    [[nodiscard]] QString ejsDetail() const { return m_ejsDetail; }
    // The whole tool set's progress, 0...1; an installed tool counts 1, yt-dlp-ejs included.
    [[nodiscard]] double overall() const;
    [[nodiscard]] const ToolManifest::Entries &manifest() const { return m_manifest; }

    // Where a tool is downloaded from and how it is asked for its version; yt-dlp-ejs has none.
    [[nodiscard]] static std::optional<ToolSpec> specFor(Tool tool);

    // The version the executable at `path` (by default the tool's copy in "Tools") prints,
    // read from the first line of its output; nothing when it is missing, not an executable
    // file, fails, or prints no version. yt-dlp-ejs has no executable and gives nothing.
    QCoro::Task<std::optional<QString>> validate(Tool tool, std::optional<QString> path = std::nullopt);
    // The version in the first non-empty line of `output`, by the tool's own format.
    [[nodiscard]] static std::optional<QString> parseVersion(Tool tool, const QString &output);

    // The "tag_name" of the JSON object a GET of `url` answers, whatever the status; nothing
    // on any failure.
    QCoro::Task<std::optional<QString>> latestTag(QUrl url);

    // Installs one tool from its spec, trying each URL in turn until one yields a copy that
    // passes the version probe, and moves it into "Tools" by rename, so an installed copy is
    // never half-written and stays until its replacement has proved itself. Shows each step in
    // the tool's state, never sets installed or failed. Archives fetched earlier in the same
    // `run` are taken from it instead of being downloaded again.
    QCoro::Task<InstallResult> installOne(ToolSpec spec, std::shared_ptr<InstallRun> run = nullptr);

    // Records a finished install in the manifest and writes the file.
    void recordInstall(Tool tool, const QString &version, const QString &source);

    // Keeping the tool set working. bootstrap(), updateTools() and repair() never run two at a
    // time: a call while one runs returns at once and changes nothing. What they find shows in
    // the published state and in "app.log"; a failing tool never stops the others.

    // Probes the installed tools, installs the missing ones and verifies the set. Afterwards
    // phase() is Ready exactly when every tool works.
    QCoro::Task<> bootstrap();
    // Asks yt-dlp's and Deno's release API for the newest tag, quietly reinstalls what is older,
    // records the time of the check and verifies the set.
    QCoro::Task<> updateTools();
    // updateTools(), when "autoUpdateTools" allows it, the set is ready and the last check is a
    // day old or was never made.
    QCoro::Task<> autoUpdateIfDue();
    // Reinstalls every downloadable tool, working or not, and verifies the set.
    QCoro::Task<> repair();

    // Probes the machine and every tool once more, runs the three smoke tests and publishes the
    // whole list at the end. Installs nothing and leaves phase, status and busy alone; only the
    // versions found and ejsDetail() change.
    QCoro::Task<> runDiagnostics();
    // The current diagnostics list as plain text, one line per item.
    [[nodiscard]] QString report() const;

    // Seams for tests: the wall clock, the free bytes of the home folder's file system
    // (nothing when unknown), and the size past which a tool download is stopped.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }
    void setDownloadSizeLimit(qint64 bytes) { m_downloadSizeLimit = bytes; }
    void setFreeSpaceProbe(std::function<std::optional<qint64>()> probe) { m_freeSpace = std::move(probe); }

Q_SIGNALS:
    void phaseChanged();
    void statesChanged();
    void currentChanged();
    void diagnosticsChanged();
    void runningDiagnosticsChanged();
    void busyChanged();
    void ejsDetailChanged();

private:
    QCoro::Task<InstallResult> attempt(ToolSpec spec, QUrl url, QString workFolder, std::shared_ptr<InstallRun> run);
    QCoro::Task<std::optional<ToolError>> fetch(Tool tool, QUrl url, QString file);
    void setStatus(Tool tool, const ComponentStatus &status);
    void setProgress(Tool tool, double progress);
    void saveManifest();

    QCoro::Task<> install(QList<Tool> tools, bool quietPhase);
    QCoro::Task<> finishVerification();
    void setPhase(Phase phase);
    void setCurrent(const QString &text);
    void setBusy(bool busy);
    void setEjsDetail(const QString &detail);
    void setRunningDiagnostics(bool running);
    // Replaces the tool's whole state, which drops the release tag an update check found.
    void replaceState(Tool tool, const ComponentState &state);
    void setVersion(Tool tool, const QString &version);
    void setLatest(Tool tool, const QString &tag);

    QNetworkAccessManager *m_network;
    Phase m_phase = Phase::Checking;
    std::map<Tool, ComponentState> m_states;
    QString m_current;
    QList<DiagnosticItem> m_diagnostics;
    bool m_runningDiagnostics = false;
    bool m_busy = false;
    QString m_ejsDetail;
    ToolManifest::Entries m_manifest;
    bool m_manifestUnreadable = false;
    std::function<QDateTime()> m_now = &QDateTime::currentDateTimeUtc;
    std::function<std::optional<qint64>()> m_freeSpace = &Diagnostics::homeFreeBytes;
    int m_diagnosticRuns = 0;
    qint64 m_downloadSizeLimit = FileDownloader::defaultSizeLimit;
};
