#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

// One installed tool as "manifest.json" records it: which version, when, and from where.
struct ManifestEntry
{
    QString version;
    QDateTime installedAt;
    QString source; // the full URL the tool was downloaded from

    bool operator==(const ManifestEntry &) const = default;

    [[nodiscard]] QJsonObject toJson() const;
    // All three keys are required; "installedAt" only in the written form ("2026-12-08T09:31:42Z").
    // Other keys are ignored.
    [[nodiscard]] static std::optional<ManifestEntry> fromJson(const QJsonValue &value);
};
