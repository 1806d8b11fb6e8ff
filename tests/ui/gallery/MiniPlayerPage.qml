import QtQuick
import Morvane

// The Mini Player window as the File menu opens it where the desktop has no tray.
MenuBarPlayerWindow {
    required model

    framed: true
}
