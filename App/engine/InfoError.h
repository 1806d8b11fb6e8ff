#pragma once

#include <QString>

// Why format discovery failed, as the one sentence the user is shown.
struct InfoError
{
    QString message;

    bool operator==(const InfoError &) const = default;
};
