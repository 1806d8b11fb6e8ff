#pragma once

#include "NetworkOptions.h"

#include <QString>
#include <QVariant>

// The user's settings, in QSettings("Morvane", "Morvane"). Registered defaults live only in
// memory: a value the user set wins, an unset key reads as its default, and defaults never
// reach the settings file.
namespace SettingsStore {

void registerDefaults();

// Typed readers: the stored value, else the registered default, else "" / 0 / false.
[[nodiscard]] QString string(const QString &key);
[[nodiscard]] qint64 integer(const QString &key);
[[nodiscard]] bool boolean(const QString &key);
[[nodiscard]] double number(const QString &key);
[[nodiscard]] bool isStored(const QString &key);
void set(const QString &key, const QVariant &value);
void remove(const QString &key);

[[nodiscard]] NetworkOptions networkSnapshot();

} // namespace SettingsStore
