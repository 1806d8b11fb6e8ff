#pragma once

#include "core/Tool.h"
#include "tools/ComponentState.h"

#include <QString>
#include <QVariantMap>

// One tool's row on the setup and diagnostics screens.
struct ComponentRowPresentation
{
    QString name;
    QString statusKind; // "working", "failed", "unknown" or "installed"
    QString icon;       // symbol name; empty while working (a spinner shows)
    QString color;      // colour role of the symbol
    QString detail;     // the step or failure text, else the tool's role
    bool showsProgress = false;
    double progress = 0;
    QString versionText; // the version of an installed tool, else empty

    bool operator==(const ComponentRowPresentation &) const = default;

    // A tool with no state is shown as unknown with no progress and no version.
    [[nodiscard]] static ComponentRowPresentation of(Tool tool, const ComponentState &state = {});
    // What the tool is for, shown while nothing more urgent is.
    [[nodiscard]] static QString roleText(Tool tool);

    [[nodiscard]] QVariantMap toVariant() const;
};
