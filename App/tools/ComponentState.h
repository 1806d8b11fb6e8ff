#pragma once

#include <QString>

#include <optional>

// The status of one tool: an install step running, a failure, not checked yet, or working.
// `message` is the step text or the error text; the other two kinds carry none.
struct ComponentStatus
{
    enum class Kind { Working, Failed, Unknown, Installed };

    Kind kind = Kind::Unknown;
    QString message;

    static ComponentStatus working(const QString &step) { return {Kind::Working, step}; }
    static ComponentStatus failed(const QString &error) { return {Kind::Failed, error}; }
    static ComponentStatus unknown() { return {Kind::Unknown, {}}; }
    static ComponentStatus installed() { return {Kind::Installed, {}}; }

    bool operator==(const ComponentStatus &) const = default;
};

// What the screens show for one tool.
struct ComponentState
{
    ComponentStatus status;
    // Install progress 0...1: 0.9 × the download fraction while downloading, 0.95 once
    // downloaded, 1 when installed.
    double progress = 0;
    std::optional<QString> version; // as the version probe read it; "ready" for yt-dlp-ejs
    std::optional<QString> latest;  // the newest release tag the last update check found

    bool operator==(const ComponentState &) const = default;
};
