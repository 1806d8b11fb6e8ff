#pragma once

#include "SettingPicker.h"
#include "SettingStepper.h"

#include <QObject>

// The Network tab: the options every yt-dlp run gets. The text fields bind Setting objects of
// their own and store exactly what is typed.
class NetworkSettingsModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString cookiesLabel MEMBER m_cookiesLabel CONSTANT)
    Q_PROPERTY(QString userAgentLabel MEMBER m_userAgentLabel CONSTANT)
    Q_PROPERTY(QString userAgentPlaceholder MEMBER m_userAgentPlaceholder CONSTANT)
    Q_PROPERTY(QString proxyLabel MEMBER m_proxyLabel CONSTANT)
    Q_PROPERTY(QString proxyPlaceholder MEMBER m_proxyPlaceholder CONSTANT)
    Q_PROPERTY(QString rateLimitLabel MEMBER m_rateLimitLabel CONSTANT)
    Q_PROPERTY(QString rateLimitPlaceholder MEMBER m_rateLimitPlaceholder CONSTANT)
    Q_PROPERTY(QString extraArgsHeader MEMBER m_extraArgsHeader CONSTANT)
    Q_PROPERTY(QString extraArgsPlaceholder MEMBER m_extraArgsPlaceholder CONSTANT)
    Q_PROPERTY(QString extraArgsNote MEMBER m_extraArgsNote CONSTANT)
    Q_PROPERTY(SettingPicker *cookies READ cookies CONSTANT)
    Q_PROPERTY(SettingStepper *retries READ retries CONSTANT)
    Q_PROPERTY(SettingStepper *fragments READ fragments CONSTANT)
    Q_PROPERTY(SettingStepper *timeout READ timeout CONSTANT)

public:
    explicit NetworkSettingsModel(QObject *parent = nullptr);

    [[nodiscard]] SettingPicker *cookies() { return &m_cookies; }
    [[nodiscard]] SettingStepper *retries() { return &m_retries; }
    [[nodiscard]] SettingStepper *fragments() { return &m_fragments; }
    [[nodiscard]] SettingStepper *timeout() { return &m_timeout; }

private:
    const QString m_cookiesLabel = tr("Cookies from browser");
    const QString m_userAgentLabel = tr("User-Agent");
    const QString m_userAgentPlaceholder = tr("Default");
    const QString m_proxyLabel = tr("Proxy");
    const QString m_proxyPlaceholder = tr("http://host:port or socks5://host:port");
    const QString m_rateLimitLabel = tr("Rate limit");
    const QString m_rateLimitPlaceholder = tr("e.g. 2M or 500K");
    const QString m_extraArgsHeader = tr("Additional yt-dlp arguments");
    const QString m_extraArgsPlaceholder = tr("e.g. --geo-bypass --sponsorblock-remove sponsor");
    const QString m_extraArgsNote = tr("Passed directly to yt-dlp (no shell). Quote values containing spaces.");
    SettingPicker m_cookies;
    SettingStepper m_retries;
    SettingStepper m_fragments;
    SettingStepper m_timeout;
};
