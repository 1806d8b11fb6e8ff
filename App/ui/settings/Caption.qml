import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// An explanation below a control.
Label {
    textFormat: Text.PlainText
    Layout.fillWidth: true
    wrapMode: Text.Wrap
    color: Theme.dim
    font.pixelSize: Theme.caption
}
