#include "RepeatMode.h"

#include "core/RawValues.h"

namespace RepeatModes {

const QList<RepeatMode> &all()
{
    static const QList<RepeatMode> modes{RepeatMode::Off, RepeatMode::All, RepeatMode::One};
    return modes;
}

QString rawValue(RepeatMode mode)
{
    switch (mode) {
    case RepeatMode::Off: return QStringLiteral("off");
    case RepeatMode::All: return QStringLiteral("all");
    case RepeatMode::One: return QStringLiteral("one");
    }
    return {};
}

std::optional<RepeatMode> fromRawValue(const QString &text)
{
    return RawValues::find(all(), &rawValue, text);
}

} // namespace RepeatModes
