#include "SettingsStore.h"

#include "Json.h"

#include <QDir>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>

namespace SettingsStore {

namespace {

QHash<QString, QVariant> &registeredDefaults()
{
    static QHash<QString, QVariant> defaults;
    return defaults;
}

QSettings settings()
{
    return QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
}

QString defaultDownloadFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return downloads.isEmpty() ? QDir::homePath() : downloads;
}

// Compares as a reader would: INI text read back ("3", "false") equals the typed value written.
bool sameValue(QVariant before, const QVariant &after)
{
    if (before.isValid() != after.isValid())
        return false;
    if (!before.isValid())
        return true;
    if (before.metaType() != after.metaType() && !before.convert(after.metaType()))
        return false;
    return before == after;
}

void notifyIfChanged(const QString &key, const QVariant &before)
{
    if (!sameValue(before, SettingsStore::value(key)))
        Q_EMIT SettingsStore::notifier()->changed(key);
}

} // namespace

QVariant value(const QString &key)
{
    const QVariant stored = settings().value(key);
    return stored.isValid() ? stored : registeredDefaults().value(key);
}

void registerDefaults()
{
    // QSettings saves through QSaveFile too: a kill during a save leaves its copy for good.
    Json::removeStaleTemporaries(settings().fileName());
    registeredDefaults() = {
        {QStringLiteral("downloadFolder"), defaultDownloadFolder()},
        {QStringLiteral("outputTemplate"), QStringLiteral("%(title)s [%(id)s].%(ext)s")},
        {QStringLiteral("maxConcurrent"), 2},
        {QStringLiteral("notifications"), true},
        {QStringLiteral("clipboardMonitor"), false},
        {QStringLiteral("defaultPreset"), QStringLiteral("Best Quality")},
        {QStringLiteral("audioFormat"), QStringLiteral("mp3")},
        {QStringLiteral("mergeContainer"), QStringLiteral("mp4")},
        {QStringLiteral("preferCompatible"), true},
        {QStringLiteral("embedThumbnail"), true},
        {QStringLiteral("embedMetadata"), true},
        {QStringLiteral("writeSubs"), false},
        {QStringLiteral("autoSubs"), false},
        {QStringLiteral("embedSubs"), false},
        {QStringLiteral("subLangs"), QStringLiteral("en.*")},
        {QStringLiteral("playlistNumbering"), true},
        {QStringLiteral("cookiesBrowser"), QStringLiteral("none")},
        {QStringLiteral("retries"), 10},
        {QStringLiteral("fragments"), 4},
        {QStringLiteral("timeout"), 30},
        {QStringLiteral("autoUpdateTools"), true},
        {QStringLiteral("remoteEJS"), true},
    };
}

QString string(const QString &key)
{
    return value(key).toString();
}

qint64 integer(const QString &key)
{
    return value(key).toLongLong();
}

bool boolean(const QString &key)
{
    return value(key).toBool();
}

double number(const QString &key)
{
    return value(key).toDouble();
}

bool isStored(const QString &key)
{
    return settings().contains(key);
}

void set(const QString &key, const QVariant &value)
{
    const QVariant before = SettingsStore::value(key);
    settings().setValue(key, value);
    notifyIfChanged(key, before);
}

void remove(const QString &key)
{
    const QVariant before = SettingsStore::value(key);
    settings().remove(key);
    notifyIfChanged(key, before);
}

SettingsNotifier *notifier()
{
    // Lives as long as the process, like the settings file it watches.
    static SettingsNotifier instance;
    return &instance;
}

NetworkOptions networkSnapshot()
{
    NetworkOptions options;
    // Only an absent key means "no cookies"; a stored empty text stays empty.
    const QVariant cookies = value(QStringLiteral("cookiesBrowser"));
    options.cookiesBrowser = cookies.isValid() ? cookies.toString() : QStringLiteral("none");
    options.userAgent = string(QStringLiteral("userAgent"));
    options.proxy = string(QStringLiteral("proxy"));
    options.rateLimit = string(QStringLiteral("rateLimit"));
    options.retries = integer(QStringLiteral("retries"));
    options.fragments = std::max<qint64>(1, integer(QStringLiteral("fragments")));
    options.timeout = integer(QStringLiteral("timeout"));
    options.extraArgs = string(QStringLiteral("extraArgs"));
    return options;
}

} // namespace SettingsStore
