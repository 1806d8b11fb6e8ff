#include "FormatSettingsModel.h"

FormatSettingsModel::FormatSettingsModel(QObject *parent)
    : QObject(parent)
    , m_container(QStringLiteral("mergeContainer"), QStringLiteral("mp4"), containerOptions())
    , m_audioFormat(QStringLiteral("audioFormat"), QStringLiteral("mp3"), audioFormatOptions())
    , m_writeSubs(QStringLiteral("writeSubs"), false)
{
    connect(&m_writeSubs, &Setting::valueChanged, this, &FormatSettingsModel::subtitleOptionsEnabledChanged);
}

QList<SettingPicker::Option> FormatSettingsModel::containerOptions()
{
    return SettingPicker::upperCased({QStringLiteral("mp4"), QStringLiteral("mkv"), QStringLiteral("webm")});
}

QList<SettingPicker::Option> FormatSettingsModel::audioFormatOptions()
{
    return SettingPicker::upperCased({QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("opus"), QStringLiteral("flac"),
                       QStringLiteral("wav"), QStringLiteral("aac"), QStringLiteral("vorbis")});
}
