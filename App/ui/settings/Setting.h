#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// One settings key for a view, two-way: `value` reads the stored value, else the registered
// default, else `fallback`, and a write stores at once. Every Setting on the same key, in every
// window, follows a change made anywhere, and nothing is cached here: the settings store is the
// one copy of the value.
//
// What is read is converted to the fallback's type, because after a restart the settings file
// hands back text ("false", "3"), and "false" is true to JavaScript.
class Setting : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString key READ key WRITE setKey NOTIFY keyChanged)
    Q_PROPERTY(QVariant fallback READ fallback WRITE setFallback NOTIFY fallbackChanged)
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)

public:
    explicit Setting(QObject *parent = nullptr);
    Setting(const QString &key, const QVariant &fallback, QObject *parent = nullptr);

    [[nodiscard]] QString key() const { return m_key; }
    void setKey(const QString &key);
    [[nodiscard]] QVariant fallback() const { return m_fallback; }
    void setFallback(const QVariant &fallback);

    [[nodiscard]] QVariant value() const;
    // Stores `value`, converted to the fallback's type where it can be, even when it equals
    // the value read now: an unset key then holds its default for good.
    void setValue(const QVariant &value);

Q_SIGNALS:
    void keyChanged();
    void fallbackChanged();
    void valueChanged();

private:
    void storeChanged(const QString &key);
    // `value` in the fallback's type; `orElse` when it cannot be converted.
    [[nodiscard]] QVariant typed(const QVariant &value, const QVariant &orElse) const;

    QString m_key;
    QVariant m_fallback;
};
