#pragma once

#include <QCoreApplication>
#include <QMetaObject>

#include <coroutine>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

// The outcome of one piece of work that several coroutines wait for: a coroutine task can be
// awaited only once. Copies share one state, and a waiter keeps that state alive itself, so the
// owner may drop its copy as soon as it has called finish(). Main thread only.
//
// Waiters resume on later turns of the event loop, never inside finish(). Their wake-ups are
// posted to the application object, which nothing deletes meanwhile: a wake-up posted to an
// object that goes away with deleteLater() can be dropped unseen when deferred deletions are
// flushed before it is delivered, and its waiter would wait forever.
template<typename T = std::monostate> class SharedResult
{
public:
    // Every waiter gets `value`; a later waiter gets it at once. Only the first call counts.
    void finish(T value = T())
    {
        if (m_state->value)
            return;
        m_state->value = std::move(value);
        for (const std::coroutine_handle<> waiter : std::exchange(m_state->waiters, {}))
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [waiter] { waiter.resume(); }, Qt::QueuedConnection);
    }
    [[nodiscard]] bool isFinished() const { return m_state->value.has_value(); }

    auto operator co_await() const noexcept
    {
        struct Awaiter
        {
            std::shared_ptr<State> state;
            bool await_ready() const noexcept { return state->value.has_value(); }
            void await_suspend(std::coroutine_handle<> waiter) { state->waiters.push_back(waiter); }
            T await_resume() const { return *state->value; }
        };
        return Awaiter{m_state};
    }

private:
    struct State
    {
        std::optional<T> value;
        std::vector<std::coroutine_handle<>> waiters;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
