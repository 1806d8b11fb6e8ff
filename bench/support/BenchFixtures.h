#pragma once

#include "engine/DownloadOptions.h"

#include <QString>
#include <QUuid>

// The files a long-used installation holds, written into the support folder before the
// application (or a screen's view model) reads them. Every link points at a closed local port, so
// nothing a screen loads leaves the machine.
namespace BenchFixtures {

// Points HOME and the XDG data, config and cache folders at folders of their own below `root`,
// before the application object exists.
void useHome(const QString &root);
// A single-video request titled "Video number <index>" with a thumbnail link.
[[nodiscard]] DownloadOptions request(int index);
// "history.json": `entries` finished downloads, newest first, every seventh failed.
void writeHistory(int entries);
// "queue.json": `tasks` downloads, finished and paused by turns; returns the first task's id.
QUuid writeQueue(int tasks);
// The task log of `task`: `bytes` of progress lines.
void writeLog(const QUuid &task, qint64 bytes);
// "library.json": the library benchmark's full library.
void writeLibrary();
// "Tools": stand-ins that pass the start-up check; a download started with them waits without
// end, as one held up by a slow server would (the application's quit path ends it), and a search
// fails at once.
void writeTools();

} // namespace BenchFixtures
