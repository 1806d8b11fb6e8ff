// The yardstick of the start-up benchmark: a bare Qt Quick Controls window of the main window's
// size and colour, in the Basic style, and nothing else. With the argument "text" it also draws
// what any screen does (a heading, a line of text, a button and a rounded panel), which tells the
// cost of the scene graph's text and shape materials apart from the application's own.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    QQmlApplicationEngine engine;
    const bool withText = QGuiApplication::arguments().contains(QStringLiteral("text"));
    engine.loadData(withText ? "import QtQuick\nimport QtQuick.Controls\n"
                               "ApplicationWindow { visible: true; width: 1280; height: 800; color: \"#09090b\"\n"
                               "  Column { Label { text: \"Home\"; font.pixelSize: 28; font.bold: true; color: \"white\" }\n"
                               "    Label { text: \"Downloads and songs in one window\"; color: \"white\" }\n"
                               "    Button { text: \"Add\" }\n"
                               "    Rectangle { width: 100; height: 100; radius: 8; color: \"#27272a\" } } }"
                             : "import QtQuick.Controls\n"
                               "ApplicationWindow { visible: true; width: 1280; height: 800; color: \"#09090b\" }");
    return QGuiApplication::exec();
}
