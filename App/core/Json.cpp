#include "Json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace Json {

namespace {

// The instants a four-digit UTC year can name: every reader refuses the rest.
const QDateTime firstDate(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime lastDate(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

// Set-aside copies of one store file beyond the newest: ".bad.1" up to ".bad.4".
constexpr int olderCopiesKept = 4;

// The name of the set-aside copy that is `age` moves old: ".bad" for the newest.
QByteArray asideName(const QString &path, int age)
{
    QString name = path + QStringLiteral(".bad");
    if (age > 0)
        name += QLatin1Char('.') + QString::number(age);
    return QFile::encodeName(name);
}

} // namespace

QString dateText(const QDateTime &date)
{
    // Whatever is written must read back, or the next start sets the whole store aside: an
    // instant beyond the four-digit years is written as the nearest one they hold, and an
    // invalid date as the first.
    const QDateTime utc = !date.isValid() ? firstDate : std::clamp(date.toUTC(), firstDate, lastDate);
    // Formatted by hand: QDateTime::toString parses its format on every call, and a library
    // holds thousands of dates.
    const QDate day = utc.date();
    const QTime time = utc.time();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", day.year(), day.month(), day.day(), time.hour(),
                  time.minute(), time.second());
    return QString::fromLatin1(text);
}

namespace {

// The digits of text[from, from + count), or -1 when one of them is not a digit.
int digits(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

std::optional<QDateTime> parseDate(const QString &text)
{
    // The form every store writes, read without the cost of a general ISO 8601 parse.
    if (text.size() == 20 && text.at(4) == u'-' && text.at(7) == u'-' && text.at(10) == u'T' && text.at(13) == u':' &&
        text.at(16) == u':' && text.at(19) == u'Z') {
        const int fields[] = {digits(text, 0, 4),  digits(text, 5, 2),  digits(text, 8, 2),
                              digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2)};
        const QDate day(fields[0], fields[1], fields[2]);
        const QTime time(fields[3], fields[4], fields[5]);
        if (std::all_of(std::begin(fields), std::end(fields), [](int field) { return field >= 0; }) && day.isValid() &&
            time.isValid())
            return QDateTime(day, time, Qt::UTC);
        return std::nullopt;
    }
    // Stored dates carry whole seconds; Qt alone would also take fractions and missing seconds.
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-]\\d\\d:?\\d\\d)$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    const QDateTime date = QDateTime::fromString(text, Qt::ISODate);
    if (!date.isValid() || date.timeSpec() == Qt::LocalTime)
        return std::nullopt; // an ISO date-time without a zone names no instant
    // An offset can carry a date over year 9999 or before year 1 in UTC, which no store could
    // write back in a form it reads.
    const QDateTime utc = date.toUTC();
    if (utc < firstDate || utc > lastDate)
        return std::nullopt;
    return utc;
}

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

double finite(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

std::optional<qint64> truncated(double value)
{
    // 2^63 is exact as a double: [-2^63, 2^63) is what fits after truncation.
    constexpr double limit = 9223372036854775808.0;
    if (!std::isfinite(value) || value >= limit || value < -limit)
        return std::nullopt;
    return static_cast<qint64>(std::trunc(value));
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

bool writeFile(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    // Qt 6.4's commit() puts the file in place even when its final flush failed (a full disk),
    // which would replace the store with a cut-off copy: the flush is checked first.
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool moveAside(const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    // The copies already set aside each move one name down the line, so a second unreadable file
    // never replaces the first one's copy; only the oldest beyond the line is dropped.
    for (int age = olderCopiesKept; age > 0; --age)
        std::rename(asideName(path, age - 1).constData(), asideName(path, age).constData());
    return std::rename(QFile::encodeName(path).constData(), asideName(path, 0).constData()) == 0 ||
           !QFileInfo::exists(path);
}

void removeStaleTemporaries(const QString &path)
{
    const QFileInfo target(path);
    const QDir folder = target.dir();
    const QString prefix = target.fileName() + QLatin1Char('.');
    const QStringList candidates =
        folder.entryList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : candidates) {
        const QStringView suffix = QStringView(name).mid(prefix.size());
        const bool letters = std::all_of(suffix.begin(), suffix.end(),
                                         [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); });
        if (letters)
            QFile::remove(folder.filePath(name));
    }
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
    // A loop over a non-const array would detach it: a copy of every element shared with the document.
    for (const QJsonArray array = value.toArray(); const QJsonValue &element : array) {
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
