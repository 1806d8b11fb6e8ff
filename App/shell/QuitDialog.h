#pragma once

#include "QuitQuestion.h"

#include <QPointer>

class Shell;

// The quit question as a dialog over the main window, which is shown first (the person may have
// quit from the tray with the window hidden).
class QuitDialog final : public QuitQuestion
{
    Q_OBJECT

public:
    explicit QuitDialog(Shell &shell, QObject *parent = nullptr);

    void ask() override;
    void withdraw() override;

private:
    Shell &m_shell;
    QPointer<QObject> m_dialog;
};
