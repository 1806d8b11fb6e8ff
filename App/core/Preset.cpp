#include "Preset.h"

#include "RawValues.h"

namespace Presets {

const QList<Preset> &all()
{
    static const QList<Preset> presets{Preset::Best,  Preset::Uhd,   Preset::Hd1080,
                                       Preset::Hd720, Preset::Audio, Preset::Custom};
    return presets;
}

QString rawValue(Preset preset)
{
    switch (preset) {
    case Preset::Best: return QStringLiteral("Best Quality");
    case Preset::Uhd: return QStringLiteral("4K");
    case Preset::Hd1080: return QStringLiteral("1080p");
    case Preset::Hd720: return QStringLiteral("720p");
    case Preset::Audio: return QStringLiteral("Audio Only");
    case Preset::Custom: return QStringLiteral("Advanced");
    }
    return {};
}

std::optional<Preset> fromRawValue(const QString &text)
{
    return RawValues::find(all(), &rawValue, text);
}

} // namespace Presets
