#pragma once

#include <functional>
#include <map>
#include <memory>

// A way to call off asynchronous work that a coroutine cannot be cancelled for: the caller
// keeps a copy, the work subscribes to it. Copies share one state. Main thread only.
class CancelToken
{
public:
    CancelToken()
        : m_state(std::make_shared<State>())
    {}

    // Runs every subscribed handler once; later calls do nothing.
    void cancel() const;
    [[nodiscard]] bool isCancelled() const { return m_state->cancelled; }

    // Runs `handler` when the token is cancelled (at once when it already is, returning 0).
    int subscribe(std::function<void()> handler) const;
    void unsubscribe(int id) const;

private:
    struct State
    {
        bool cancelled = false;
        int nextId = 1;
        std::map<int, std::function<void()>> handlers;
    };
    std::shared_ptr<State> m_state;
};
