#pragma once

#include <QString>

#include <utility>
#include <variant>

// The failure of a music catalogue call: one complete sentence for the user.
struct MusicError
{
    QString message;

    [[nodiscard]] const QString &errorDescription() const { return message; }
    bool operator==(const MusicError &) const = default;
};

// What a music catalogue call gives back: a value or the error that stopped it. Coroutines
// return failures as values, never as exceptions.
template<typename T> class MusicResult
{
public:
    // An empty value (waiting on a task from plain code needs a result to assign into).
    MusicResult() = default;
    MusicResult(T value)
        : m_state(std::move(value))
    {}
    MusicResult(MusicError error)
        : m_state(std::move(error))
    {}

    [[nodiscard]] bool ok() const { return std::holds_alternative<T>(m_state); }
    [[nodiscard]] const T &value() const { return std::get<T>(m_state); }
    [[nodiscard]] T &value() { return std::get<T>(m_state); }
    [[nodiscard]] const MusicError &error() const { return std::get<MusicError>(m_state); }

private:
    std::variant<T, MusicError> m_state;
};
