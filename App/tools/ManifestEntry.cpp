#include "ManifestEntry.h"

#include "core/Json.h"

QJsonObject ManifestEntry::toJson() const
{
    return {{QStringLiteral("version"), version},
            {QStringLiteral("installedAt"), Json::dateText(installedAt)},
            {QStringLiteral("source"), source}};
}

std::optional<ManifestEntry> ManifestEntry::fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    Json::Reader reader(value.toObject());
    ManifestEntry entry{reader.string(QStringLiteral("version")), reader.date(QStringLiteral("installedAt")),
                        reader.string(QStringLiteral("source"))};
    if (!reader.ok())
        return std::nullopt;
    // Other ISO 8601 spellings (offsets, fractions) are not the form this file is written in.
    if (Json::dateText(entry.installedAt) != value.toObject().value(QStringLiteral("installedAt")).toString())
        return std::nullopt;
    return entry;
}
