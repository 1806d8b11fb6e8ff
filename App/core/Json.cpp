#include "Json.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

#include <cmath>
#include <limits>

#include <cstdio>

namespace Json {

QString dateText(const QDateTime &date)
{
    return date.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + QLatin1Char('Z');
}

std::optional<QDateTime> parseDate(const QString &text)
{
    QDateTime date = QDateTime::fromString(text, Qt::ISODate);
    if (!date.isValid() || date.timeSpec() == Qt::LocalTime)
        return std::nullopt; // an ISO date-time without a zone names no instant
    return date.toUTC();
}

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

double finite(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

std::optional<QJsonObject> parseObject(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

std::optional<QJsonArray> parseArray(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    return document.array();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

void moveAside(const QString &path)
{
    std::rename(QFile::encodeName(path).constData(), QFile::encodeName(path + QStringLiteral(".bad")).constData());
}

void Reader::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
}

std::optional<QJsonValue> Reader::present(const QString &key, bool required)
{
    const QJsonValue value = m_object.value(key);
    if (value.isUndefined() || value.isNull()) {
        if (required)
            fail(QStringLiteral("missing key \"%1\"").arg(key));
        return std::nullopt;
    }
    return value;
}

void Reader::wrongType(const QString &key, const char *expected)
{
    fail(QStringLiteral("key \"%1\" is not %2").arg(key, QLatin1String(expected)));
}

namespace {

// JSON has only doubles; an integer field takes a number with no fraction within 64 bits.
std::optional<qint64> integerOf(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number || number < -9.2e18 || number > 9.2e18)
        return std::nullopt;
    return static_cast<qint64>(number);
}

std::optional<QStringList> stringListOf(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &element : value.toArray()) {
        if (!element.isString())
            return std::nullopt;
        list.append(element.toString());
    }
    return list;
}

} // namespace

std::optional<QString> Reader::optionalString(const QString &key)
{
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    if (!value->isString()) {
        wrongType(key, "a string");
        return std::nullopt;
    }
    return value->toString();
}

std::optional<qint64> Reader::optionalInteger(const QString &key)
{
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    const auto integer = integerOf(*value);
    if (!integer)
        wrongType(key, "an integer");
    return integer;
}

std::optional<double> Reader::optionalNumber(const QString &key)
{
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    if (!value->isDouble()) {
        wrongType(key, "a number");
        return std::nullopt;
    }
    return value->toDouble();
}

std::optional<bool> Reader::optionalBoolean(const QString &key)
{
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    if (!value->isBool()) {
        wrongType(key, "a boolean");
        return std::nullopt;
    }
    return value->toBool();
}

std::optional<QDateTime> Reader::optionalDate(const QString &key)
{
    const auto text = optionalString(key);
    if (!text)
        return std::nullopt;
    const auto date = parseDate(*text);
    if (!date)
        wrongType(key, "an ISO 8601 date");
    return date;
}

std::optional<QJsonObject> Reader::optionalObject(const QString &key)
{
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    if (!value->isObject()) {
        wrongType(key, "an object");
        return std::nullopt;
    }
    return value->toObject();
}

std::optional<QStringList> Reader::optionalStringList(const QString &key)
{
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    const auto list = stringListOf(*value);
    if (!list)
        wrongType(key, "a list of strings");
    return list;
}

// A required reader is its optional twin that also fails when the key is absent.
template<typename T> T Reader::require(const QString &key, std::optional<T> (Reader::*optional)(const QString &))
{
    if (!present(key, true))
        return T();
    return (this->*optional)(key).value_or(T());
}

QString Reader::string(const QString &key)
{
    return require(key, &Reader::optionalString);
}
qint64 Reader::integer(const QString &key)
{
    return require(key, &Reader::optionalInteger);
}
double Reader::number(const QString &key)
{
    return require(key, &Reader::optionalNumber);
}
bool Reader::boolean(const QString &key)
{
    return require(key, &Reader::optionalBoolean);
}
QDateTime Reader::date(const QString &key)
{
    return require(key, &Reader::optionalDate);
}
QStringList Reader::stringList(const QString &key)
{
    return require(key, &Reader::optionalStringList);
}
QJsonObject Reader::object(const QString &key)
{
    return require(key, &Reader::optionalObject);
}

QUuid Reader::uuid(const QString &key)
{
    const QString text = string(key);
    if (!ok())
        return {};
    const QUuid id = QUuid::fromString(text);
    if (id.isNull() || text.size() != 36)
        wrongType(key, "a UUID");
    return id;
}

QJsonArray Reader::array(const QString &key)
{
    const auto value = present(key, true);
    if (!value)
        return {};
    if (!value->isArray())
        wrongType(key, "a list");
    return value->toArray();
}

void insertOptional(QJsonObject &object, const QString &key, const std::optional<QDateTime> &value)
{
    if (value)
        object.insert(key, dateText(*value));
}

void insertOptional(QJsonObject &object, const QString &key, const std::optional<double> &value)
{
    if (value && std::isfinite(*value))
        object.insert(key, *value);
}

void insertOptional(QJsonObject &object, const QString &key, const std::optional<QStringList> &value)
{
    if (value)
        object.insert(key, QJsonArray::fromStringList(*value));
}

} // namespace Json
