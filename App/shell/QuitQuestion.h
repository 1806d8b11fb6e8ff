#pragma once

#include <QObject>

// The question "Downloads are in progress" put to the person quitting. The dialog the application
// shows answers through `answered`; tests answer in its place.
class QuitQuestion : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Shows the question; `answered` follows once, unless the question is withdrawn first.
    virtual void ask() = 0;
    // Takes the question away unanswered: the process ends anyway.
    virtual void withdraw() = 0;

Q_SIGNALS:
    // True for "Quit"; false for "Cancel" or a question closed without a choice.
    void answered(bool quit);
};
