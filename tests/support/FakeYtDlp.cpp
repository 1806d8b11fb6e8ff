#include "FakeYtDlp.h"

#include "TestEnvironment.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

// Runs are logged one to a line, their arguments apart by the unit separator (0x1f).
const QByteArray script = R"(#!/bin/sh
dir=$(dirname "$0")
line=$(printf '%s\037' "$@")
printf '%s\n' "$line" >> "$dir/fake.runs"
for target; do :; done
key=$(printf '%s' "$target" | md5sum | cut -c1-32)
answer="$dir/fake"
[ -d "$dir/fake.answers/$key" ] && answer="$dir/fake.answers/$key/fake"
[ -f "$answer.stderr" ] && cat "$answer.stderr" >&2
[ -f "$answer.stdout" ] && cat "$answer.stdout"
if [ -f "$dir/fake.sleep" ]; then
  sleep 30 &
  echo $! > "$dir/fake.child"
  wait
fi
exit $(cat "$answer.exit" 2>/dev/null || echo 0)
)";

} // namespace

FakeYtDlp::FakeYtDlp(const TestEnvironment &environment)
    : m_dir(environment.toolsDir())
{
    environment.installScript(QStringLiteral("yt-dlp"), script);
}

QString FakeYtDlp::file(const QString &name) const
{
    return m_dir + QLatin1Char('/') + name;
}

void FakeYtDlp::write(const QString &name, const QByteArray &bytes) const
{
    QVERIFY(QDir().mkpath(QFileInfo(file(name)).path()));
    QFile out(file(name));
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
}

void FakeYtDlp::answer(const QByteArray &out, const QByteArray &err, int exitCode) const
{
    write(QStringLiteral("fake.stdout"), out);
    write(QStringLiteral("fake.stderr"), err);
    write(QStringLiteral("fake.exit"), QByteArray::number(exitCode));
}

void FakeYtDlp::answer(const QString &target, const QByteArray &out, const QByteArray &err, int exitCode) const
{
    const QString key = QString::fromLatin1(QCryptographicHash::hash(target.toUtf8(), QCryptographicHash::Md5).toHex());
    const QString prefix = QStringLiteral("fake.answers/%1/fake.").arg(key);
    write(prefix + QStringLiteral("stdout"), out);
    write(prefix + QStringLiteral("stderr"), err);
    write(prefix + QStringLiteral("exit"), QByteArray::number(exitCode));
}

void FakeYtDlp::setSleeping() const
{
    write(QStringLiteral("fake.sleep"), QByteArray());
}

QList<QStringList> FakeYtDlp::runs() const
{
    QFile log(file(QStringLiteral("fake.runs")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QStringList base = YTDLPManager::baseArguments(SettingsStore::networkSnapshot());
    QList<QStringList> runs;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList all = QString::fromUtf8(line).split(QChar(0x1f));
        all.removeLast(); // after the last separator
        if (all.mid(0, base.size()) != base)
            runs.append({QStringLiteral("<base arguments missing>")});
        else
            runs.append(all.mid(base.size()));
    }
    return runs;
}

QStringList FakeYtDlp::arguments() const
{
    const QList<QStringList> all = runs();
    return all.isEmpty() ? QStringList{QStringLiteral("<not run>")} : all.last();
}

QByteArray FakeYtDlp::listing(const QJsonArray &entries, const QString &title)
{
    QJsonObject object{{QStringLiteral("_type"), QStringLiteral("playlist")}, {QStringLiteral("entries"), entries}};
    if (!title.isEmpty())
        object.insert(QStringLiteral("title"), title);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QStringList FakeYtDlp::listingArguments(int end, const QString &target)
{
    return {QStringLiteral("-J"),
            QStringLiteral("--flat-playlist"),
            QStringLiteral("--yes-playlist"),
            QStringLiteral("--no-warnings"),
            QStringLiteral("--playlist-end"),
            QString::number(end),
            QStringLiteral("--"),
            target};
}

qint64 FakeYtDlp::child() const
{
    QFile child(file(QStringLiteral("fake.child")));
    return child.open(QIODevice::ReadOnly) ? child.readAll().trimmed().toLongLong() : 0;
}

qint64 FakeYtDlp::waitForChild() const
{
    qint64 pid = 0;
    (void)QTest::qWaitFor(
        [this, &pid] {
            pid = child();
            return pid > 0;
        },
        10000);
    return pid;
}
