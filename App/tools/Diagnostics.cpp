#include "Diagnostics.h"

#include "core/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QSysInfo>

namespace Diagnostics {

namespace {

const QString emDash = QStringLiteral("\u2014");

// The unquoted value of `key` in an os-release file, or nothing.
std::optional<QString> osReleaseValue(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    const QString prefix = key + QLatin1Char('=');
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!line.startsWith(prefix))
            continue;
        QString value = line.mid(prefix.size()).trimmed();
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (!value.isEmpty())
            return value;
    }
    return std::nullopt;
}

} // namespace

QString systemName()
{
    // /etc/os-release wins; /usr/lib/os-release is the distribution's own default.
    for (const QString &path : {QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release")}) {
        if (const auto name = osReleaseValue(path, QStringLiteral("NAME")))
            return *name;
    }
    return QStringLiteral("Linux");
}

DiagnosticItem systemItem()
{
    return {QUuid::createUuid(), systemName(), true, QSysInfo::prettyProductName()};
}

QString architectureText(CpuArch arch)
{
    return arch == CpuArch::Arm64 ? QStringLiteral("Arm (aarch64)") : QStringLiteral("x86_64");
}

DiagnosticItem architectureItem(CpuArch arch)
{
    return {QUuid::createUuid(), QStringLiteral("Architecture"), true, architectureText(arch)};
}

DiagnosticItem toolItem(Tool tool, const std::optional<QString> &version)
{
    const QString path = Tools::path(tool);
    if (version)
        return {QUuid::createUuid(), Tools::rawValue(tool), true,
                *version + QLatin1String(" ") + emDash + QLatin1String(" ") + path};
    return {QUuid::createUuid(), Tools::rawValue(tool), false,
            QStringLiteral("Missing or not working ") + emDash + QLatin1String(" ") + path};
}

std::optional<DiagnosticItem> diskItem(std::optional<qint64> freeBytes)
{
    if (!freeBytes)
        return std::nullopt;
    const qint64 free = *freeBytes;
    return DiagnosticItem{QUuid::createUuid(), QStringLiteral("Free disk space"), free > lowDiskSpace,
                          formatByteCount(free)};
}

std::optional<qint64> homeFreeBytes()
{
    const QStorageInfo storage(QDir::homePath());
    if (!storage.isValid() || !storage.isReady() || storage.bytesAvailable() < 0)
        return std::nullopt;
    return storage.bytesAvailable();
}

QString report(const QList<DiagnosticItem> &items, const QDateTime &now, const QString &toolsFolder)
{
    QString text = QStringLiteral("Morvane diagnostics ") + emDash + QLatin1Char(' ') +
                   now.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000\n");
    for (const DiagnosticItem &item : items) {
        text += QLatin1Char('[') + (item.ok ? QLatin1String("OK") : QLatin1String("FAIL")) + QLatin1String("] ") +
                item.name + QLatin1String(": ") + item.detail + QLatin1Char('\n');
    }
    text += QStringLiteral("Tools directory: ") + toolsFolder + QLatin1Char('\n');
    return text;
}

} // namespace Diagnostics
