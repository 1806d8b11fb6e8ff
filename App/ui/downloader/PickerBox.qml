import QtQuick
import QtQuick.Controls
import Morvane

// A combo box over a settings picker: rows as the picker offers them, and only a row the user
// picks is stored.
ComboBox {
    // A SettingPicker, which QML knows only by its members.
    required property var picker

    model: picker.options
    textRole: "text"
    valueRole: "value"
    currentIndex: picker.currentIndex
    onActivated: index => picker.activate(index)
}
