#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// The network-related settings, snapshotted for each yt-dlp run and stored inside every
// download request.
struct NetworkOptions
{
    QString cookiesBrowser = QStringLiteral("none");
    QString userAgent;
    QString proxy;
    QString rateLimit;
    qint64 retries = 10;
    qint64 fragments = 4;
    qint64 timeout = 30;
    QString extraArgs;

    bool operator==(const NetworkOptions &) const = default;

    [[nodiscard]] QJsonObject toJson() const;
    // All eight keys are required; the first missing or mistyped one fails the value.
    [[nodiscard]] static std::optional<NetworkOptions> fromJson(const QJsonObject &object, QString *error = nullptr);
};
