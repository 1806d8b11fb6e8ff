import QtQuick
import Morvane

// Recently Played's "Clear History": forgets every play at once, without asking, also when the
// list is empty.
PlainTextButton {
    id: button

    required property LibrarySongsModel songs

    objectName: "clearHistory"
    text: qsTr("Clear History")
    onClicked: button.songs.clearHistory()
}
