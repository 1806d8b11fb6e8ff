#pragma once

#include <QString>
#include <QStringList>

// Reading "app.log" in tests, after every line queued before the call has been written.
namespace TestLog {

[[nodiscard]] QString appLogText();
// The lines of "app.log" without the "[time] " stamps that open them.
[[nodiscard]] QStringList appLogLines();

} // namespace TestLog
