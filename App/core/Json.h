#pragma once

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// Strict reading and careful writing of the JSON records this application stores.
//
// Reading: a required key that is missing, null or of the wrong type fails the record; an
// optional key may be missing or null. The first failure is kept so the caller can report it.
// Writing: absent optionals are left out (never null), dates are UTC whole seconds with "Z",
// UUIDs are upper case without braces, and no NaN or infinity is ever written.
namespace Json {

// Always a date parseDate takes: years 0001 to 9999 in UTC.
[[nodiscard]] QString dateText(const QDateTime &date);
// "2026-12-08T09:19:13Z", or with an offset such as "+01:00"; whole seconds only, and nothing
// when the instant lies outside the years 0001 to 9999 in UTC.
[[nodiscard]] std::optional<QDateTime> parseDate(const QString &text);
[[nodiscard]] QString uuidText(const QUuid &id);
// A finite number, or `fallback` in place of NaN and infinity.
[[nodiscard]] double finite(double value, double fallback = 0);
// `value` truncated toward zero; nullopt for NaN, infinity and values beyond 64 bits.
[[nodiscard]] std::optional<qint64> truncated(double value);

// Parses `data` as one JSON object; nullopt when it is not one.
[[nodiscard]] std::optional<QJsonObject> parseObject(const QByteArray &data);
[[nodiscard]] std::optional<QJsonArray> parseArray(const QByteArray &data);

// Store files. writeFile replaces `path` in one step (a temporary file renamed over it), so a
// reader never sees half a file; false when it could not, with the reason in `error` when given.
// moveAside renames an unreadable store file to `path` + ".bad" before the next save overwrites it;
// copies set aside earlier move on to ".bad.1", ".bad.2" and so on, and only the oldest beyond
// ".bad.4" is dropped.
bool writeFile(const QString &path, const QByteArray &data, QString *error = nullptr);
// False when `path` is still there (it could not be renamed).
bool moveAside(const QString &path);
// Removes the temporary files of writes to `path` that never finished (the process died between
// writing and renaming): the file name plus "." and six letters, the name QSaveFile gives them.
// Nothing else goes. A store calls it when it loads, before any save of its own can be running.
void removeStaleTemporaries(const QString &path);

class Reader
{
public:
    explicit Reader(const QJsonObject &object)
        : m_object(object)
    {}

    [[nodiscard]] bool ok() const { return m_error.isEmpty(); }
    // The first failure, such as "missing key \"url\"".
    [[nodiscard]] const QString &error() const { return m_error; }
    [[nodiscard]] const QJsonObject &object() const { return m_object; }

    QString string(const QString &key);
    qint64 integer(const QString &key);
    double number(const QString &key);
    bool boolean(const QString &key);
    QDateTime date(const QString &key);
    QUuid uuid(const QString &key);
    QStringList stringList(const QString &key);
    QJsonObject object(const QString &key);
    QJsonArray array(const QString &key);

    std::optional<QString> optionalString(const QString &key);
    std::optional<qint64> optionalInteger(const QString &key);
    std::optional<double> optionalNumber(const QString &key);
    std::optional<bool> optionalBoolean(const QString &key);
    std::optional<QDateTime> optionalDate(const QString &key);
    std::optional<QJsonObject> optionalObject(const QString &key);
    std::optional<QStringList> optionalStringList(const QString &key);

    // `value` when every read succeeded; otherwise nullopt, with the first failure in `error`.
    template<typename T> [[nodiscard]] std::optional<T> result(T value, QString *error = nullptr) const
    {
        if (ok())
            return value;
        if (error)
            *error = m_error;
        return std::nullopt;
    }

    // Marks the record as failed from outside (a nested record or an unknown enum value).
    void fail(const QString &message);

private:
    // The value when present and not null; nullopt and a failure when required and absent.
    std::optional<QJsonValue> present(const QString &key, bool required);
    void wrongType(const QString &key, const char *expected);
    template<typename T> T require(const QString &key, std::optional<T> (Reader::*optional)(const QString &));

    QJsonObject m_object;
    QString m_error;
};

// Writes `value` under `key` only when it holds one.
template<typename T> void insertOptional(QJsonObject &object, const QString &key, const std::optional<T> &value)
{
    if (value)
        object.insert(key, QJsonValue(*value));
}
void insertOptional(QJsonObject &object, const QString &key, const std::optional<QDateTime> &value);
void insertOptional(QJsonObject &object, const QString &key, const std::optional<double> &value);
void insertOptional(QJsonObject &object, const QString &key, const std::optional<QStringList> &value);

} // namespace Json
