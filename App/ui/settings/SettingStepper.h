#pragma once

#include "Setting.h"

#include <QObject>
#include <QString>

// A stepper over one integer key. The control shows `shown`, the value clamped to the range,
// but a stored value outside the range stays stored, and the label shows it, until the user
// steps. `label` is the prefix, the stored value in decimal and the suffix
// ("Network timeout: 30s").
class SettingStepper final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int value READ value NOTIFY valueChanged)
    Q_PROPERTY(int shown READ shown NOTIFY valueChanged)
    Q_PROPERTY(QString label READ label NOTIFY valueChanged)
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(int from READ from CONSTANT)
    Q_PROPERTY(int to READ to CONSTANT)
    Q_PROPERTY(int step READ step CONSTANT)

public:
    struct Range
    {
        int from;
        int to;
        int step;
    };

    SettingStepper(const QString &key, int fallback, Range range, const QString &prefix, const QString &suffix,
                   QObject *parent = nullptr);

    [[nodiscard]] int value() const;
    [[nodiscard]] int shown() const;
    [[nodiscard]] QString label() const;
    // What a screen reader calls the control: the label without its value ("Network timeout"); the
    // control reads its value itself.
    [[nodiscard]] QString name() const;
    [[nodiscard]] int from() const { return m_range.from; }
    [[nodiscard]] int to() const { return m_range.to; }
    [[nodiscard]] int step() const { return m_range.step; }

    // One press up or down from the shown value; a press at a bound stores nothing.
    Q_INVOKABLE void stepUp();
    Q_INVOKABLE void stepDown();
    // The user set the control to `value` (a spin box's valueModified); clamped to the range.
    Q_INVOKABLE void modify(int value);

Q_SIGNALS:
    void valueChanged();

private:
    [[nodiscard]] int clamped(int value) const;

    Setting m_setting;
    Range m_range;
    QString m_prefix;
    QString m_suffix;
};
