#pragma once

#include "SectionContent.h"

#include <QString>

#include <optional>

// One shelf of the Home screen.
struct HomeSection
{
    QString id; // stable key: "resume", "quick", "because-" + a track id, "madeforyou", …
    QString title;
    std::optional<QString> subtitle;
    SectionContent content;

    bool operator==(const HomeSection &) const = default;
};
