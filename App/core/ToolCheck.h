#pragma once

#include <QString>

// The outcome of checking an installed tool: whether it works, and the text to show for it.
struct ToolCheck
{
    bool ok = false;
    QString detail;

    bool operator==(const ToolCheck &) const = default;
};
