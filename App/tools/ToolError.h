#pragma once

#include <QString>

// A failure of the tool installer, carried as a value: the domain says which layer failed
// ("Download" with the HTTP status as code, "Install" with its own codes, "Network" with the
// network error code, "File" for the file system), `message` is what the user is shown.
struct ToolError
{
    QString domain;
    int code = 0;
    QString message;

    bool operator==(const ToolError &) const = default;
};
