#include "Discovery.h"

#include "core/Json.h"

#include <QJsonArray>

QString Discovery::rawValue(Kind kind)
{
    return kind == Kind::Radio ? QStringLiteral("radio") : QStringLiteral("newFrom");
}

std::optional<Discovery::Kind> Discovery::kindFromRawValue(const QString &text)
{
    for (Kind kind : {Kind::Radio, Kind::NewFrom}) {
        if (rawValue(kind) == text)
            return kind;
    }
    return std::nullopt;
}

QJsonObject Discovery::toJson() const
{
    return {
        {QStringLiteral("kind"), rawValue(kind)},
        {QStringLiteral("key"), key},
        {QStringLiteral("label"), label},
        {QStringLiteral("ids"), QJsonArray::fromStringList(ids)},
        {QStringLiteral("date"), Json::dateText(date)},
    };
}

std::optional<Discovery> Discovery::fromJson(const QJsonObject &object, QString *error)
{
    Json::Reader read(object);
    Discovery discovery;
    const QString kindText = read.string(QStringLiteral("kind"));
    if (read.ok()) {
        if (const auto kind = kindFromRawValue(kindText))
            discovery.kind = *kind;
        else
            read.fail(QStringLiteral("unknown discovery kind \"%1\"").arg(kindText));
    }
    discovery.key = read.string(QStringLiteral("key"));
    discovery.label = read.string(QStringLiteral("label"));
    discovery.ids = read.stringList(QStringLiteral("ids"));
    discovery.date = read.date(QStringLiteral("date"));
    return read.result(std::move(discovery), error);
}
