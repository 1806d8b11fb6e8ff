#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

// A remembered result of background discovery: the radio mix of a seed song, or the newest
// uploads of an artist. The library keeps one per kind and key.
struct Discovery
{
    enum class Kind { Radio, NewFrom };

    Kind kind = Kind::Radio;
    QString key;   // what the discovery was run for
    QString label; // display text
    QStringList ids;
    QDateTime date;

    bool operator==(const Discovery &) const = default;

    // "radio" and "newFrom"; any other text gives none.
    [[nodiscard]] static QString rawValue(Kind kind);
    [[nodiscard]] static std::optional<Kind> kindFromRawValue(const QString &text);

    // Every key is required.
    [[nodiscard]] QJsonObject toJson() const;
    [[nodiscard]] static std::optional<Discovery> fromJson(const QJsonObject &object, QString *error = nullptr);
};
