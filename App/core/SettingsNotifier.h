#pragma once

#include <QObject>
#include <QString>

// The one place that hears of every settings change, so that every view bound to a key, in
// any window, follows a write made anywhere: by another view or by C++ code.
class SettingsNotifier final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    // The value `key` reads as has changed.
    void changed(const QString &key);
};
