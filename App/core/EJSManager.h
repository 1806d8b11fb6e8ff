#pragma once

#include "core/ToolCheck.h"

#include <QCoroTask>

// The yt-dlp-ejs challenge scripts, which yt-dlp either bundles or fetches itself.
namespace EJSManager {

// Asks the installed yt-dlp's verbose output whether it carries the scripts; without them,
// ok only when yt-dlp may fetch them (the "remoteEJS" setting).
QCoro::Task<ToolCheck> status();

} // namespace EJSManager
