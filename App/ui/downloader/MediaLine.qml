import QtQuick
import QtQuick.Layouts
import Morvane

// One secondary line of the media header: a symbol and its text.
RowLayout {
    id: line

    property string symbol
    property alias text: label.text

    spacing: 6

    Icon {
        name: line.symbol
        size: 14
        color: Theme.dim
    }
    Text {
        id: label
        textFormat: Text.PlainText
        color: Theme.dim
        font.pixelSize: Theme.body
    }
}
