// The yardstick of the start-up benchmark: a bare Qt Quick Controls window of the main window's
// size and colour, in the Basic style, and nothing else.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick.Controls\n"
                    "ApplicationWindow { visible: true; width: 1280; height: 800; color: \"#09090b\" }");
    return QGuiApplication::exec();
}
