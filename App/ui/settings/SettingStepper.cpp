#include "SettingStepper.h"

#include <algorithm>

SettingStepper::SettingStepper(const QString &key, int fallback, Range range, const QString &prefix,
                               const QString &suffix, QObject *parent)
    : QObject(parent)
    , m_setting(key, fallback)
    , m_range(range)
    , m_prefix(prefix)
    , m_suffix(suffix)
{
    connect(&m_setting, &Setting::valueChanged, this, &SettingStepper::valueChanged);
}

int SettingStepper::value() const
{
    return m_setting.value().toInt();
}

int SettingStepper::shown() const
{
    return clamped(value());
}

QString SettingStepper::label() const
{
    return m_prefix + QString::number(value()) + m_suffix;
}

QString SettingStepper::name() const
{
    QString name = m_prefix.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

void SettingStepper::stepUp()
{
    modify(shown() + m_range.step);
}

void SettingStepper::stepDown()
{
    modify(shown() - m_range.step);
}

void SettingStepper::modify(int value)
{
    const int next = clamped(value);
    // Like a spin box at its bound: a press that moves nothing writes nothing, so a stored value
    // outside the range survives it.
    if (next != shown())
        m_setting.setValue(next);
}

int SettingStepper::clamped(int value) const
{
    return std::clamp(value, m_range.from, m_range.to);
}
