#include "SettingPicker.h"

#include <QVariantMap>

SettingPicker::SettingPicker(const QString &key, const QString &fallback, const QList<Option> &options, QObject *parent)
    : QObject(parent)
    , m_setting(key, fallback)
    , m_options(options)
{
    connect(&m_setting, &Setting::valueChanged, this, &SettingPicker::currentIndexChanged);
}

QList<SettingPicker::Option> SettingPicker::upperCased(const QStringList &values)
{
    QList<Option> options;
    for (const QString &value : values)
        options.append({value, value.toUpper()});
    return options;
}

QVariantList SettingPicker::options() const
{
    QVariantList rows;
    for (const Option &option : m_options)
        rows.append(QVariantMap{{QStringLiteral("value"), option.value}, {QStringLiteral("text"), option.text}});
    return rows;
}

int SettingPicker::currentIndex() const
{
    const QString stored = value();
    for (qsizetype i = 0; i < m_options.size(); ++i) {
        if (m_options[i].value == stored)
            return int(i);
    }
    return -1;
}

QString SettingPicker::value() const
{
    return m_setting.value().toString();
}

void SettingPicker::activate(int index)
{
    if (index >= 0 && index < m_options.size())
        m_setting.setValue(m_options[index].value);
}
