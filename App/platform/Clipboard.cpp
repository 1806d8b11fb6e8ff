#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QClipboard *systemClipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

Clipboard::Clipboard(QObject *parent)
    : QObject(parent)
{
    QClipboard *clipboard = systemClipboard();
    if (!clipboard)
        return;
    // Only the clipboard proper: the X11 selection changes with every mouse selection.
    connect(clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard)
            return;
        ++m_changeCount;
        Q_EMIT changed();
    });
}

QString Clipboard::text() const
{
    QClipboard *clipboard = systemClipboard();
    return clipboard ? clipboard->text(QClipboard::Clipboard) : QString();
}
