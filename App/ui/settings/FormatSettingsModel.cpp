#include "FormatSettingsModel.h"

namespace {

// Rows show the stored lower-case value upper-cased: "mp4" reads MP4.
QList<SettingPicker::Option> upperCased(const QStringList &values)
{
    QList<SettingPicker::Option> options;
    for (const QString &value : values)
        options.append({value, value.toUpper()});
    return options;
}

} // namespace

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
    return upperCased({QStringLiteral("mp4"), QStringLiteral("mkv"), QStringLiteral("webm")});
}

QList<SettingPicker::Option> FormatSettingsModel::audioFormatOptions()
{
    return upperCased({QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("opus"), QStringLiteral("flac"),
                       QStringLiteral("wav"), QStringLiteral("aac"), QStringLiteral("vorbis")});
}
