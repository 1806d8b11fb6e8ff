import QtQuick
import Morvane

// Every window of the application: the dark background, and the palette that restyles the Basic
// controls inside it, derived from the Theme.
Window {
    color: Theme.bg

    palette.window: Theme.bg
    palette.windowText: Theme.text
    palette.base: Theme.side
    palette.alternateBase: Theme.bg
    palette.text: Theme.text
    palette.button: Theme.side
    palette.buttonText: Theme.text
    palette.brightText: Theme.text
    // Basic draws tracks with midlight, outlines with mid, pressed handles with light, and what is
    // on or filled (a checked switch, a slider's value) with dark: the accent on this dark palette.
    palette.light: Qt.lighter(Theme.side, 5.5)
    palette.midlight: Qt.lighter(Theme.side, 2.5)
    palette.mid: Qt.lighter(Theme.side, 4)
    palette.dark: Theme.accent
    palette.shadow: "black"
    palette.highlight: Theme.accent
    palette.highlightedText: Theme.text
    palette.link: Theme.accent
    palette.linkVisited: Theme.accent
    palette.placeholderText: Theme.dim
    palette.toolTipBase: Theme.side
    palette.toolTipText: Theme.text
    palette.disabled.windowText: Theme.dim
    palette.disabled.text: Theme.dim
    palette.disabled.buttonText: Theme.dim
}
