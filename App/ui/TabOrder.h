#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Keeps the children of a list's content item in the order they are drawn: top to bottom, and left
// to right along a line. Tab visits items in their parent's order, but a view adds its header, footer
// and delegates in the order it makes them (a row made while scrolling back up lands last), so
// without this the buttons above a list come after its rows.
// Not final: QML makes its own subclass of a type it creates.
class TabOrder : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *content READ content WRITE setContent NOTIFY contentChanged)

public:
    using QObject::QObject;

    [[nodiscard]] QQuickItem *content() const { return m_content; }
    void setContent(QQuickItem *content);

    // Restacks the children of `content` by position; those already in order stay where they are.
    static void order(QQuickItem *content);

Q_SIGNALS:
    void contentChanged();

private:
    // Once per turn of the event loop, after the view has placed what it just made.
    void schedule();

    QPointer<QQuickItem> m_content;
    bool m_scheduled = false;
};
