#include "CancelToken.h"

#include <utility>

void CancelToken::cancel() const
{
    if (m_state->cancelled)
        return;
    m_state->cancelled = true;
    // A handler may unsubscribe others; work on a copy.
    const auto handlers = std::exchange(m_state->handlers, {});
    for (const auto &[id, handler] : handlers)
        handler();
}

int CancelToken::subscribe(std::function<void()> handler) const
{
    if (m_state->cancelled) {
        handler();
        return 0;
    }
    const int id = m_state->nextId++;
    m_state->handlers.emplace(id, std::move(handler));
    return id;
}

void CancelToken::unsubscribe(int id) const
{
    m_state->handlers.erase(id);
}
