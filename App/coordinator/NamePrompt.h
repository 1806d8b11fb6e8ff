#pragma once

#include <QString>
#include <QUuid>

#include <functional>

// A request to the music window for a name: while one is set, the window shows its name sheet and
// hands the entered text to `done`.
struct NamePrompt
{
    QUuid id = QUuid::createUuid();
    QString title;
    QString initial;
    QString action;
    std::function<void(const QString &)> done;
};
