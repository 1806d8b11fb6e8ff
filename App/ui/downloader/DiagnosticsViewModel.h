#pragma once

#include <QObject>
#include <QVariantList>

#include <functional>

class DependencyManager;
class DesktopServices;

// The diagnostics screen: the machine, the tools and the results of the last run of the checks,
// with Run Diagnostics, Repair Dependencies, Copy Report and App Log. Everything it shows is the
// tool manager's; the repair itself is the coordinator's.
class DiagnosticsViewModel final : public QObject
{
    Q_OBJECT
    // {"label", "value"}: the system, the processor kind and the two folders.
    Q_PROPERTY(QVariantList systemRows READ systemRows CONSTANT)
    // One tool row each (see ComponentRowPresentation), plus "path": the executable, or empty
    // for the challenge scripts, which have none.
    Q_PROPERTY(QVariantList toolRows READ toolRows NOTIFY changed)
    // "yt-dlp-ejs: " and the detail the last verification found; empty when it found none.
    Q_PROPERTY(QString ejsLine READ ejsLine NOTIFY changed)
    // {"icon", "color", "name", "detail"} per result of the last run; empty before the first.
    Q_PROPERTY(QVariantList results READ results NOTIFY changed)
    Q_PROPERTY(bool runEnabled READ runEnabled NOTIFY changed)
    Q_PROPERTY(bool repairEnabled READ repairEnabled NOTIFY changed)
    Q_PROPERTY(bool copyEnabled READ copyEnabled NOTIFY changed)
    Q_PROPERTY(bool spinning READ spinning NOTIFY changed)
    // The current step while the tools are busy, else empty.
    Q_PROPERTY(QString busyCaption READ busyCaption NOTIFY changed)

public:
    // Which buttons are enabled and whether the spinner turns, from the tool manager's state.
    struct Controls
    {
        bool runEnabled = false;
        bool repairEnabled = false;
        bool copyEnabled = false;
        bool spinning = false;

        bool operator==(const Controls &) const = default;
    };
    [[nodiscard]] static Controls controlsFor(bool runningDiagnostics, bool busy, bool hasResults);

    // `repairTools` starts the coordinator's repair; it is not awaited.
    DiagnosticsViewModel(DependencyManager *deps, DesktopServices *desktop, std::function<void()> repairTools,
                         QObject *parent = nullptr);

    [[nodiscard]] static QVariantList systemRows();
    [[nodiscard]] QVariantList toolRows() const;
    [[nodiscard]] QString ejsLine() const;
    [[nodiscard]] QVariantList results() const;
    [[nodiscard]] Controls controls() const;
    [[nodiscard]] bool runEnabled() const { return controls().runEnabled; }
    [[nodiscard]] bool repairEnabled() const { return controls().repairEnabled; }
    [[nodiscard]] bool copyEnabled() const { return controls().copyEnabled; }
    [[nodiscard]] bool spinning() const { return controls().spinning; }
    [[nodiscard]] QString busyCaption() const;

    // The screen came into view: runs the checks when there are no results yet and no run is
    // already going (showing the screen again during the first run must not start a second).
    Q_INVOKABLE void shown();
    Q_INVOKABLE void runDiagnostics();
    Q_INVOKABLE void repair();
    // Puts the report on the clipboard, replacing what was there.
    Q_INVOKABLE void copyReport() const;
    // Shows "app.log" in the file manager, whether it exists yet or not.
    Q_INVOKABLE void revealAppLog() const;

Q_SIGNALS:
    void changed();

private:
    DependencyManager *m_deps;
    DesktopServices *m_desktop;
    std::function<void()> m_repairTools;
};
