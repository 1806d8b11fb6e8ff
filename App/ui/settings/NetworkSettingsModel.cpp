#include "NetworkSettingsModel.h"

namespace {

// yt-dlp cannot read Safari's cookies on Linux, and offering it would make every run fail, so
// the list starts at Chrome. A stored "safari" is left alone: it selects no row and stays used.
QList<SettingPicker::Option> cookieSources()
{
    QList<SettingPicker::Option> options{{QStringLiteral("none"), QStringLiteral("None")}};
    const QStringList browsers{QStringLiteral("chrome"), QStringLiteral("firefox"),  QStringLiteral("edge"),
                               QStringLiteral("brave"),  QStringLiteral("chromium"), QStringLiteral("opera"),
                               QStringLiteral("vivaldi")};
    for (const QString &browser : browsers)
        options.append({browser, browser.left(1).toUpper() + browser.mid(1)});
    return options;
}

} // namespace

NetworkSettingsModel::NetworkSettingsModel(QObject *parent)
    : QObject(parent)
    , m_cookies(QStringLiteral("cookiesBrowser"), QStringLiteral("none"), cookieSources())
    , m_retries(QStringLiteral("retries"), 10, {0, 50, 1}, tr("Retries: "), QString())
    , m_fragments(QStringLiteral("fragments"), 4, {1, 16, 1}, tr("Concurrent fragments: "), QString())
    , m_timeout(QStringLiteral("timeout"), 30, {5, 300, 5}, tr("Network timeout: "), QStringLiteral("s"))
{}
