#include "TestDownloads.h"

#include "TestEnvironment.h"
#include "core/Json.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/QueueFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

namespace TestDownloads {

std::optional<QList<TaskRecord>> readQueueFile()
{
    QFile file(QueueFile::path());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto array = Json::parseArray(file.readAll());
    if (!array)
        return std::nullopt;
    QList<TaskRecord> records;
    for (const QJsonValue &value : *array) {
        const auto record = value.isObject() ? TaskRecord::fromJson(value.toObject()) : std::nullopt;
        if (!record)
            return std::nullopt;
        records.append(*record);
    }
    return records;
}

QStringList savedStatuses()
{
    QStringList statuses;
    for (const TaskRecord &record : readQueueFile().value_or(QList<TaskRecord>()))
        statuses.append(TaskStatuses::rawValue(record.status));
    return statuses;
}

void installDebianTools(const TestEnvironment &environment)
{
    for (const QString &tool : {QStringLiteral("yt-dlp"), QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
        environment.installTool(tool, QStringLiteral("/usr/bin/") + tool);
    SettingsStore::set(QStringLiteral("remoteEJS"), false);
}

} // namespace TestDownloads

namespace {

const QByteArray fakeScript = R"sh(#!/bin/sh
# Stand-in for yt-dlp: runs the plan written for the last path segment of the link.
ctl="$(dirname "$0")/fake"
for last; do :; done
name="${last##*/}"
out=.
previous=
for argument; do
    [ "$previous" = "-P" ] && out="$argument"
    previous="$argument"
done
printf '%s\n' "$@" > "$ctl/$name.args"
# The start is announced once the plan has set its traps: at its first hold, or at exit.
announce() { [ -e "$ctl/$name.pid" ] || { echo $$ > "$ctl/$name.pid.new" && mv "$ctl/$name.pid.new" "$ctl/$name.pid"; }; }
trap announce EXIT
hold() { announce; while [ ! -e "$ctl/$name.release" ]; do sleep 0.02; done; }
note() { echo "$1" >> "$ctl/$name.notes"; }
# What yt-dlp does at the gate the queue sets (its --exec command) before downloading the file $1.
gate() { sh -c "$(sed -n '/^--exec$/{n;s/^before_dl://;p;}' "$ctl/$name.args" | sed "s|{}|'$1'|")"; }
[ -f "$ctl/$name.plan" ] && . "$ctl/$name.plan"
exit 0
)sh";

QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

FakeYtdlp::FakeYtdlp(const TestEnvironment &environment)
    : m_control(environment.toolsDir() + QStringLiteral("/fake"))
{
    QDir().mkpath(m_control);
    environment.installScript(QStringLiteral("yt-dlp"), fakeScript);
}

QString FakeYtdlp::url(const QString &name)
{
    return QStringLiteral("http://fake.test/") + name;
}

QString FakeYtdlp::path(const QString &name, const QString &suffix) const
{
    return m_control + QLatin1Char('/') + name + suffix;
}

void FakeYtdlp::plan(const QString &name, const QByteArray &script) const
{
    QFile file(path(name, QStringLiteral(".plan")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(script);
}

void FakeYtdlp::release(const QString &name) const
{
    QFile file(path(name, QStringLiteral(".release")));
    file.open(QIODevice::WriteOnly);
}

bool FakeYtdlp::started(const QString &name) const
{
    return QFile::exists(path(name, QStringLiteral(".pid")));
}

qint64 FakeYtdlp::pid(const QString &name) const
{
    const QStringList lines = linesOf(path(name, QStringLiteral(".pid")));
    return lines.isEmpty() ? 0 : lines.first().toLongLong();
}

QStringList FakeYtdlp::arguments(const QString &name) const
{
    return linesOf(path(name, QStringLiteral(".args")));
}

QStringList FakeYtdlp::notes(const QString &name) const
{
    return linesOf(path(name, QStringLiteral(".notes")));
}
