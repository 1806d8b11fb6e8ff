#include "FormatSettingsModel.h"

FormatSettingsModel::FormatSettingsModel(QObject *parent)
    : QObject(parent)
    , m_container(QStringLiteral("mergeContainer"), QStringLiteral("mp4"),
                  SettingPicker::upperCased({QStringLiteral("mp4"), QStringLiteral("mkv"), QStringLiteral("webm")}))
    , m_audioFormat(QStringLiteral("audioFormat"), QStringLiteral("mp3"),
                    SettingPicker::upperCased({QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("opus"),
                                               QStringLiteral("flac"), QStringLiteral("wav"), QStringLiteral("aac"),
                                               QStringLiteral("vorbis")}))
    , m_writeSubs(QStringLiteral("writeSubs"), false)
{
    connect(&m_writeSubs, &Setting::valueChanged, this, &FormatSettingsModel::subtitleOptionsEnabledChanged);
}
