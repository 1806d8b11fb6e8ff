#pragma once

#include <QList>
#include <QString>

#include <optional>

// Enumerations stored by their raw text: the case whose text matches exactly, case-sensitively.
namespace RawValues {

template<typename Enum>
[[nodiscard]] std::optional<Enum> find(const QList<Enum> &cases, QString (*rawValue)(Enum), const QString &text)
{
    for (const Enum value : cases) {
        if (rawValue(value) == text)
            return value;
    }
    return std::nullopt;
}

} // namespace RawValues
