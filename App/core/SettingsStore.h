#pragma once

#include "NetworkOptions.h"
#include "SettingsNotifier.h"

#include <QString>
#include <QVariant>

// The user's settings, in QSettings("Morvane", "Morvane"). Registered defaults live only in
// memory: a value the user set wins, an unset key reads as its default, and defaults never
// reach the settings file.
namespace SettingsStore {

// Also removes the copies of settings saves that never finished; called once at start-up, before
// anything saves a setting.
void registerDefaults();

// Typed readers: the stored value, else the registered default, else "" / 0 / false.
[[nodiscard]] QString string(const QString &key);
[[nodiscard]] qint64 integer(const QString &key);
[[nodiscard]] bool boolean(const QString &key);
[[nodiscard]] double number(const QString &key);
[[nodiscard]] bool isStored(const QString &key);
// The stored value as QSettings gives it (after a restart INI text: "false", "3"), else the
// registered default, else an invalid QVariant.
[[nodiscard]] QVariant value(const QString &key);
// Both write at once, also a value equal to the one read now.
void set(const QString &key, const QVariant &value);
void remove(const QString &key);
// Announces a key after set() or remove() only when the value it reads as has changed.
[[nodiscard]] SettingsNotifier *notifier();

[[nodiscard]] NetworkOptions networkSnapshot();

} // namespace SettingsStore
