import QtQuick
import QtQuick.Controls
import Morvane

// The buttons filled with the accent: the music screens' main actions and the dialogs' defaults.
AppWindow {
    width: 620
    height: 90

    Row {
        anchors.centerIn: parent
        spacing: 12
        PillButton {
            objectName: "Play Non-Stop"
            title: objectName
            symbol: "infinity"
            prominent: true
        }
        PillButton {
            objectName: "Play"
            title: objectName
            symbol: "play.fill"
            prominent: true
        }
        Repeater {
            model: ["Quit", "Choose", "Create", "Done"]
            Button {
                required property string modelData
                objectName: modelData
                text: modelData
                highlighted: true
            }
        }
    }
}
