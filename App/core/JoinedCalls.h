#pragma once

#include "CancelToken.h"
#include "SharedResult.h"

#include <QCoroTask>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>

// Asynchronous calls keyed by what they ask: a call made while the same one is under way waits
// for that one's result instead of running again. The work stops (its token is cancelled) only
// when every caller has given up; a caller that gives up while others still wait gets the result
// all the same, and drops it as it would a late one. A later call after the work was called off
// starts it anew. Main thread only.
template<typename T> class JoinedCalls
{
public:
    // Starts the work for `key` with a token of its own, `start(token)`, unless it runs already.
    using Start = std::function<QCoro::Task<T>(CancelToken)>;

    QCoro::Task<T> join(QString key, CancelToken cancel, Start start)
    {
        std::shared_ptr<Call> call = m_calls->value(key);
        if (!call || call->work.isCancelled()) {
            call = std::make_shared<Call>();
            m_calls->insert(key, call);
            run(m_calls, key, call, std::move(start));
        }
        ++call->waiters;
        const int subscription = cancel.subscribe([weak = std::weak_ptr<Call>(call)] {
            if (const std::shared_ptr<Call> call = weak.lock(); call && --call->waiters == 0)
                call->work.cancel();
        });
        T result = co_await call->result;
        cancel.unsubscribe(subscription);
        co_return result;
    }

private:
    struct Call
    {
        int waiters = 0;
        CancelToken work;
        SharedResult<T> result;
    };
    using Calls = QHash<QString, std::shared_ptr<Call>>;

    // The map is held weakly: the work may end after its owner is gone.
    static QCoro::Task<> run(std::weak_ptr<Calls> calls, QString key, std::shared_ptr<Call> call, Start start)
    {
        T result = co_await start(call->work);
        if (const std::shared_ptr<Calls> open = calls.lock(); open && open->value(key) == call)
            open->remove(key);
        call->result.finish(std::move(result));
    }

    std::shared_ptr<Calls> m_calls = std::make_shared<Calls>();
};
