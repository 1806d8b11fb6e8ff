import QtQuick
import Morvane

// Every window of the application, on the dark background; its controls draw themselves from the
// Theme (the Morvane.Style controls). The keyboard never falls into nowhere in it: what loses it gives
// it to the nearest control (KeyboardAccess.keepFocus).
Window {
    id: window

    color: Theme.bg
    Component.onCompleted: KeyboardAccess.keepFocus(window)
}
