import QtQuick
import QtQuick.Templates as T
import Morvane

// Text of a form or dialog in the primary text colour, dimmed with the controls it labels.
T.Label {
    color: Theme.text
    linkColor: Theme.accent
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4
}
