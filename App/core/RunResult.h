#pragma once

#include <QString>

// The outcome of one run of an external tool to completion.
struct RunResult
{
    // The exit code, 128 + the signal number when a signal ended the child, -1 when it never started.
    int status = -1;
    QString stdoutText;
    // The launch-failure text ("Failed to launch …") when it never started.
    QString stderrText;
    bool timedOut = false;

    bool operator==(const RunResult &) const = default;
};
