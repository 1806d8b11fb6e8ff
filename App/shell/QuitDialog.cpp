#include "QuitDialog.h"

#include "Shell.h"
#include "core/LogManager.h"

#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>

QuitDialog::QuitDialog(Shell &shell, QObject *parent)
    : QuitQuestion(parent)
    , m_shell(shell)
{}

void QuitDialog::ask()
{
    m_shell.showMainWindow();
    if (!m_dialog) {
        QQuickItem *content = m_shell.mainWindow()->contentItem();
        QQmlComponent component(&m_shell.engine(), QUrl(QStringLiteral("qrc:/Morvane/QuitDialog.qml")));
        QObject *dialog = component.beginCreate(m_shell.engine().rootContext());
        if (!dialog) {
            LogManager::appLog(QStringLiteral("Interface: the quit question could not be shown: ") +
                               component.errorString());
            // Running downloads resume at the next start, so quitting unasked loses nothing.
            Q_EMIT answered(true);
            return;
        }
        dialog->setParent(content);
        dialog->setProperty("parent", QVariant::fromValue(content));
        component.completeCreate();
        connect(dialog, SIGNAL(answered(bool)), this, SIGNAL(answered(bool)));
        m_dialog = dialog;
    }
    QMetaObject::invokeMethod(m_dialog, "open");
}

void QuitDialog::withdraw()
{
    if (!m_dialog)
        return;
    // Closed as if answered, so the closing itself is not taken for "Cancel".
    m_dialog->setProperty("chosen", true);
    QMetaObject::invokeMethod(m_dialog, "close");
}
