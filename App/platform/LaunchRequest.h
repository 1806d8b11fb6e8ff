#pragma once

#include <QString>
#include <QStringList>

// What one launch of `morvane` asks of the running instance: what its command line says, and what
// travels over org.freedesktop.Application (Activate, Open, ActivateAction) when another instance runs.
struct LaunchRequest
{
    enum class Kind { Activate, Open, Action };

    Kind kind = Kind::Activate;
    QStringList uris; // Open: as given, unparsed
    QString action;   // Action: "receive-text", "receive-selection" or "receive-clipboard"
    QString text;     // "receive-text": the text handed over

    bool operator==(const LaunchRequest &) const = default;

    // Reads the arguments after the program name. `error` is set, and Activate returned, for a
    // command line the application does not understand.
    [[nodiscard]] static LaunchRequest fromArguments(const QStringList &arguments, QString *error);
};
