#pragma once

#include "CancelToken.h"
#include "RunResult.h"

#include <QCoroTask>
#include <QProcessEnvironment>
#include <QStringList>

#include <chrono>

// One-shot runs of external tools, and the fixed environment every child gets.
namespace ProcessRunner {

// Exactly the nine variables a child sees; nothing is inherited.
[[nodiscard]] QProcessEnvironment baseEnvironment();

// Runs `executable` to completion, collecting both streams. At `timeout` the child gets SIGKILL
// and the result says timedOut (status 137); cancelling `cancel` sends SIGTERM (status 143).
// Never a shell; never throws.
QCoro::Task<RunResult> run(QString executable, QStringList arguments, std::chrono::milliseconds timeout,
                           CancelToken cancel = CancelToken());

} // namespace ProcessRunner
