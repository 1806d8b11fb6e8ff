#pragma once

#include <QString>

// Where the format fetch of the link field stands. Only a failure carries text: the message shown
// under the link field.
struct FetchState
{
    enum class Kind { Idle, Loading, Loaded, Failed };

    Kind kind = Kind::Idle;
    QString message;

    [[nodiscard]] static FetchState failed(const QString &message) { return {Kind::Failed, message}; }

    bool operator==(const FetchState &other) const = default;
};
