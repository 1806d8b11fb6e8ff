#include "RepeatMode.h"

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
    for (RepeatMode mode : all()) {
        if (rawValue(mode) == text)
            return mode;
    }
    return std::nullopt;
}

} // namespace RepeatModes
