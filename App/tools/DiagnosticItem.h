#pragma once

#include <QString>
#include <QUuid>

// One line of the diagnostics list.
struct DiagnosticItem
{
    QUuid id = QUuid::createUuid();
    QString name;
    bool ok = false;
    QString detail;

    bool operator==(const DiagnosticItem &) const = default;
};
