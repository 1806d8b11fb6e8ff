import QtQuick
import Morvane

// One symbol of the interface, drawn by its name ("play.fill") from the icon font; no name draws nothing.
Text {
    property string name
    property real size: 16

    color: Theme.text
    font.family: Icons.family
    font.pixelSize: size
    text: name === "" ? "" : Icons.glyph(name)
    textFormat: Text.PlainText
    Accessible.ignored: true
}
