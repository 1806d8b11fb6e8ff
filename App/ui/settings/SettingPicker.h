#pragma once

#include "Setting.h"

#include <QList>
#include <QObject>
#include <QVariantList>

// A picker over one text key with a fixed list of rows. `options` feeds a combo box as
// {value, text} maps (textRole "text", valueRole "value"). A stored value outside the list
// selects no row (`currentIndex` -1) and stays stored until the user picks a row.
class SettingPicker final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList options READ options CONSTANT)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)

public:
    struct Option
    {
        QString value; // what is stored
        QString text;  // what the row shows
    };

    SettingPicker(const QString &key, const QString &fallback, const QList<Option> &options, QObject *parent = nullptr);

    // Rows that show the stored lower-case value upper-cased: "mp4" reads MP4.
    [[nodiscard]] static QList<Option> upperCased(const QStringList &values);

    [[nodiscard]] QVariantList options() const;
    [[nodiscard]] int currentIndex() const;
    [[nodiscard]] QString value() const;
    // The user picked row `index`; anything outside the list changes nothing.
    Q_INVOKABLE void activate(int index);

Q_SIGNALS:
    void currentIndexChanged();

private:
    Setting m_setting;
    QList<Option> m_options;
};
