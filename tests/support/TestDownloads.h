#pragma once

#include "engine/TaskRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TestEnvironment;

// Helpers for tests of the download queue.
namespace TestDownloads {

// The records of "queue.json" in the support folder; nullopt when missing or not decodable.
[[nodiscard]] std::optional<QList<TaskRecord>> readQueueFile();

// The status of each record in "queue.json", empty when the file is missing or unreadable.
[[nodiscard]] QStringList savedStatuses();

// Debian's yt-dlp, ffmpeg and ffprobe in the test "Tools" folder, with challenge scripts off:
// the 2023 build knows no such option.
void installDebianTools(const TestEnvironment &environment);

} // namespace TestDownloads

// A scripted stand-in for yt-dlp in the test "Tools" folder. It answers the link
// "http://fake.test/NAME" by running the shell snippet planned for NAME, which may use:
//   $out   the download folder (the value of -P)
//   $ctl   the control folder, $name the NAME
//   hold   waits until release(NAME) is called
//   note   appends its argument as one line to notes(NAME)
//   gate   passes the queue's gate for the file named by its argument, as yt-dlp does
// Before the plan runs, the fake records its arguments and its process id. Without a plan it
// prints nothing and exits 0.
class FakeYtdlp
{
public:
    explicit FakeYtdlp(const TestEnvironment &environment);

    [[nodiscard]] static QString url(const QString &name);
    void plan(const QString &name, const QByteArray &script) const;
    void release(const QString &name) const;

    [[nodiscard]] bool started(const QString &name) const;
    [[nodiscard]] qint64 pid(const QString &name) const;
    [[nodiscard]] QStringList arguments(const QString &name) const;
    [[nodiscard]] QStringList notes(const QString &name) const;

private:
    [[nodiscard]] QString path(const QString &name, const QString &suffix) const;

    QString m_control;
};
