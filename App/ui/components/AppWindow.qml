import QtQuick
import Morvane

// Every window of the application, on the dark background; its controls draw themselves from the
// Theme (the Morvane.Style controls).
Window {
    color: Theme.bg
}
