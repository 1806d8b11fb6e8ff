pragma Singleton
import QtQuick

// The one palette of the interface, and its text sizes. Views name these values; a view that needs
// another strength derives it from one of them (the accent at opacity 0.7) instead of adding a colour.
QtObject {
    // The six named colours: sRGB components, the fractions are the definition.
    readonly property color bg: Qt.rgba(0.035, 0.035, 0.043, 1)
    readonly property color side: Qt.rgba(0.06, 0.06, 0.072, 1)
    readonly property color panel: Qt.rgba(1, 1, 1, 0.055)
    readonly property color stroke: Qt.rgba(1, 1, 1, 0.08)
    readonly property color accent: Qt.rgba(1.0, 0.34, 0.42, 1)
    readonly property color dim: Qt.rgba(1, 1, 1, 0.55)

    // Primary text of the dark scheme.
    readonly property color text: "white"

    // Status colours: a failure, a success and a pause.
    readonly property color red: Qt.rgba(1.0, 0.27, 0.23, 1)
    readonly property color green: Qt.rgba(0.2, 0.82, 0.35, 1)
    readonly property color orange: Qt.rgba(1.0, 0.62, 0.04, 1)

    // The colour a view model names by role ("red", "secondary", ...); unknown roles are primary text.
    function roleColour(role: string): color {
        switch (role) {
        case "red": return red
        case "green": return green
        case "orange": return orange
        case "accent": return accent
        case "secondary": return dim
        case "tertiary": return Qt.rgba(1, 1, 1, 0.3)
        }
        return text
    }

    // How far page text and shelves stand in from the left and right edges of a music page.
    readonly property int pageInset: 28

    // Text styles, in pixels (one point of the design is one device-independent pixel).
    readonly property int largeTitle: 26
    readonly property int title: 22
    readonly property int title2: 17
    readonly property int title3: 15
    readonly property int headline: 13 // bold
    readonly property int body: 13
    readonly property int callout: 12
    readonly property int subheadline: 11
    readonly property int footnote: 10
    readonly property int caption: 10
    readonly property int caption2: 10 // medium weight
}
