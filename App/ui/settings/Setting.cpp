#include "Setting.h"

#include "core/SettingsStore.h"

Setting::Setting(QObject *parent)
    : Setting(QString(), QVariant(), parent)
{}

Setting::Setting(const QString &key, const QVariant &fallback, QObject *parent)
    : QObject(parent)
    , m_key(key)
    , m_fallback(fallback)
{
    connect(SettingsStore::notifier(), &SettingsNotifier::changed, this, &Setting::storeChanged);
}

void Setting::setKey(const QString &key)
{
    if (key == m_key)
        return;
    m_key = key;
    Q_EMIT keyChanged();
    Q_EMIT valueChanged();
}

void Setting::setFallback(const QVariant &fallback)
{
    if (fallback == m_fallback && fallback.metaType() == m_fallback.metaType())
        return;
    m_fallback = fallback;
    Q_EMIT fallbackChanged();
    Q_EMIT valueChanged();
}

QVariant Setting::value() const
{
    const QVariant read = m_key.isEmpty() ? QVariant() : SettingsStore::value(m_key);
    return read.isValid() ? typed(read, m_fallback) : m_fallback;
}

void Setting::setValue(const QVariant &value)
{
    if (!m_key.isEmpty())
        SettingsStore::set(m_key, typed(value, value));
}

void Setting::storeChanged(const QString &key)
{
    if (key == m_key)
        Q_EMIT valueChanged();
}

QVariant Setting::typed(const QVariant &value, const QVariant &orElse) const
{
    if (!m_fallback.isValid() || value.metaType() == m_fallback.metaType())
        return value;
    QVariant converted = value;
    return converted.convert(m_fallback.metaType()) ? converted : orElse;
}
