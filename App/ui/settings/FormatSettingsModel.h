#pragma once

#include "Setting.h"
#include "SettingPicker.h"

#include <QObject>

// The Formats tab: default container, audio format, embedding and subtitles.
class FormatSettingsModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString containerLabel MEMBER m_containerLabel CONSTANT)
    Q_PROPERTY(QString compatibleText MEMBER m_compatibleText CONSTANT)
    Q_PROPERTY(QString audioFormatLabel MEMBER m_audioFormatLabel CONSTANT)
    Q_PROPERTY(QString embedThumbnailText MEMBER m_embedThumbnailText CONSTANT)
    Q_PROPERTY(QString embedMetadataText MEMBER m_embedMetadataText CONSTANT)
    Q_PROPERTY(QString subtitlesHeader MEMBER m_subtitlesHeader CONSTANT)
    Q_PROPERTY(QString writeSubsText MEMBER m_writeSubsText CONSTANT)
    Q_PROPERTY(QString languagesLabel MEMBER m_languagesLabel CONSTANT)
    Q_PROPERTY(QString autoSubsText MEMBER m_autoSubsText CONSTANT)
    Q_PROPERTY(QString embedSubsText MEMBER m_embedSubsText CONSTANT)
    Q_PROPERTY(SettingPicker *container READ container CONSTANT)
    Q_PROPERTY(SettingPicker *audioFormat READ audioFormat CONSTANT)
    // Languages, captions and embedding mean nothing without subtitles; disabled, they keep
    // their values.
    Q_PROPERTY(bool subtitleOptionsEnabled READ subtitleOptionsEnabled NOTIFY subtitleOptionsEnabledChanged)

public:
    explicit FormatSettingsModel(QObject *parent = nullptr);

    // The rows of the two pickers, shown upper-cased and stored lower-case; the Download screen
    // offers the same ones.
    [[nodiscard]] static QList<SettingPicker::Option> containerOptions();
    [[nodiscard]] static QList<SettingPicker::Option> audioFormatOptions();

    [[nodiscard]] SettingPicker *container() { return &m_container; }
    [[nodiscard]] SettingPicker *audioFormat() { return &m_audioFormat; }
    [[nodiscard]] bool subtitleOptionsEnabled() const { return m_writeSubs.value().toBool(); }

Q_SIGNALS:
    void subtitleOptionsEnabledChanged();

private:
    const QString m_containerLabel = tr("Video container");
    const QString m_compatibleText = tr("Prefer H.264/AAC for compatibility");
    const QString m_audioFormatLabel = tr("Audio extraction format");
    const QString m_embedThumbnailText = tr("Embed thumbnail");
    const QString m_embedMetadataText = tr("Embed metadata");
    const QString m_subtitlesHeader = tr("Subtitles");
    const QString m_writeSubsText = tr("Download subtitles");
    const QString m_languagesLabel = tr("Languages");
    const QString m_autoSubsText = tr("Include auto-generated captions");
    const QString m_embedSubsText = tr("Embed subtitles in video");
    SettingPicker m_container;
    SettingPicker m_audioFormat;
    Setting m_writeSubs;
};
