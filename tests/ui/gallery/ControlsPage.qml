import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// Every control of the style, each beside its disabled twin (named "<name>Disabled"), checked and
// pressed where it has those states; spinners at each size a screen uses; an open menu.
AppWindow {
    width: 960
    height: 600

    component Twin: RowLayout {
        spacing: 12
    }
    component Spinner: BusyIndicator {
        required property int size
        objectName: "spinner" + size
        Layout.preferredWidth: size
        Layout.preferredHeight: size
        running: true
    }

    GridLayout {
        x: 24
        y: 24
        columns: 2
        columnSpacing: 48
        rowSpacing: 14

        Twin {
            Button { objectName: "button"; text: "Bordered" }
            Button { objectName: "buttonDisabled"; text: "Bordered"; enabled: false }
            Button { text: "Pressed"; down: true }
        }
        Twin {
            Button { objectName: "prominentButton"; text: "Prominent"; highlighted: true }
            Button { objectName: "prominentButtonDisabled"; text: "Prominent"; highlighted: true; enabled: false }
            Button { objectName: "flatButton"; text: "Plain"; flat: true; checked: true }
            Button { objectName: "flatButtonDisabled"; text: "Plain"; flat: true; checked: true; enabled: false }
        }
        Twin {
            ToolButton { objectName: "toolButton"; text: "Tool"; checked: true }
            ToolButton { objectName: "toolButtonDisabled"; text: "Tool"; checked: true; enabled: false }
            PillButton { objectName: "pillButton"; title: "Play"; symbol: "play.fill"; prominent: true }
            Label { objectName: "label"; text: "Label" }
            Label { objectName: "labelDisabled"; text: "Label"; enabled: false }
        }
        Twin {
            CheckBox { objectName: "check"; text: "Ticked"; checked: true }
            CheckBox { objectName: "checkDisabled"; text: "Ticked"; checked: true; enabled: false }
            CheckBox { text: "Not ticked" }
        }
        Twin {
            Switch { objectName: "switch"; text: "On"; checked: true }
            Switch { objectName: "switchDisabled"; text: "On"; checked: true; enabled: false }
            Switch { text: "Off" }
        }
        Twin {
            Label { text: "Steps: 3" }
            SpinBox { objectName: "spin"; from: 1; to: 5; value: 3 }
            SpinBox { objectName: "spinDisabled"; from: 1; to: 5; value: 3; enabled: false }
        }
        Twin {
            ComboBox { objectName: "combo"; model: ["Best quality", "Audio only"] }
            ComboBox { objectName: "comboDisabled"; model: ["Best quality", "Audio only"]; enabled: false }
        }
        Twin {
            TextField { objectName: "field"; text: "https://media.test/a" }
            TextField { objectName: "fieldDisabled"; text: "https://media.test/a"; enabled: false }
            TextField { placeholderText: "Paste a link" }
        }
        Twin {
            Slider { objectName: "slider"; value: 0.4 }
            Slider { objectName: "sliderDisabled"; value: 0.4; enabled: false }
        }
        Twin {
            ProgressBar { objectName: "progress"; value: 0.6 }
            ProgressBar { objectName: "progressDisabled"; value: 0.6; enabled: false }
        }
        TabBar {
            Layout.preferredWidth: 320
            TabButton { text: "Music" }
            TabButton { objectName: "tab"; text: "General" }
            TabButton { objectName: "tabDisabled"; text: "General"; enabled: false }
        }
        Twin {
            Spinner { size: 12 }
            Spinner { size: 18 }
            Spinner { size: 22 }
            Spinner { size: 38 }
            Spinner { size: 54 }
        }
        ScrollView {
            objectName: "scrollView"
            Layout.preferredWidth: 200
            Layout.preferredHeight: 80
            Column {
                Repeater {
                    model: 8
                    Label {
                        required property int index
                        text: "Row " + (index + 1)
                    }
                }
            }
        }
        Item {
            Layout.preferredWidth: 200
            Layout.preferredHeight: 80

            ToolTip {
                y: 30
                visible: true
                text: "Show the queue"
            }
        }
    }

    Menu {
        objectName: "menu"
        x: 660
        y: 360
        // The focused button above keeps the keyboard.
        focus: false
        Component.onCompleted: open()

        Action { objectName: "newDownload"; text: "New Download"; shortcut: "Ctrl+N" }
        Action { text: "Paste Link && Fetch"; shortcut: "Ctrl+Shift+V" }
        MenuSeparator {}
        Action { text: "Toggle Shuffle"; checkable: true; checked: true }
        Menu {
            title: "Add to Playlist"
            Action { text: "A playlist whose name goes on well past the width of any menu" }
        }
        MenuItem { objectName: "menuItem"; text: "Pause All" }
        MenuItem { objectName: "menuItemDisabled"; text: "Pause All"; enabled: false }
    }
}
