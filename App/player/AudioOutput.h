#pragma once

#include <QString>

// One place the sound can go, as the system names it: `name` is what selects it, `description`
// what the user reads.
struct AudioOutput
{
    QString name;
    QString description;

    bool operator==(const AudioOutput &) const = default;
};
