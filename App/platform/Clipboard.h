#pragma once

#include <QObject>
#include <QString>

// The desktop clipboard as the link watch reads it: its text, and a count that rises with every
// change of its content, so a reader can tell a change it has not looked at yet. Without a GUI
// application (command-line tools, tests of logic) it is an empty clipboard that never changes.
class Clipboard final : public QObject
{
    Q_OBJECT

public:
    explicit Clipboard(QObject *parent = nullptr);

    [[nodiscard]] quint64 changeCount() const { return m_changeCount; }
    // The plain text on the clipboard, empty when it holds none.
    [[nodiscard]] QString text() const;

Q_SIGNALS:
    // The count has risen. Wayland compositors mostly tell only the focused window.
    void changed();

private:
    quint64 m_changeCount = 0;
};
