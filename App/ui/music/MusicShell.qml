import QtQuick
import Morvane

// The music window's content: the top bar; the sidebar beside the content area, which shows the
// route's screen with Now Playing risen over it, and the queue panel at the trailing edge; the
// player bar at the bottom; the playback error banner and the name sheet above everything.
// Now Playing and the queue panel animate only while they come and go; Escape closes Now Playing,
// wherever the keyboard is, unless the sheet is up and takes it.
Rectangle {
    id: shell

    required property MusicShellModel model
    required property DownloadQueueModel queue
    required property DownloadScreenModel download
    required property LogSheetModel logSheet
    required property HistoryViewModel history
    required property MusicSettingsModel music
    required property ToolsSettingsModel tools
    required property DiagnosticsViewModel diagnostics

    // The player bar and the divider above it, which the window's overlays keep clear of.
    readonly property real bottomInset: height - bottomDivider.y
    // 0 hidden … 1 shown.
    property real nowPlayingShown: model.showNowPlaying ? 1 : 0
    property real queueShown: model.showQueue ? 1 : 0

    Behavior on nowPlayingShown {
        NumberAnimation {
            duration: 220
            easing.type: Easing.InOutQuad
        }
    }
    Behavior on queueShown {
        NumberAnimation {
            duration: 200
            easing.type: Easing.InOutQuad
        }
    }

    function focusSearch() {
        topBar.focusSearch()
    }

    color: Theme.bg

    Shortcut {
        sequence: "Esc"
        enabled: shell.model.showNowPlaying && !shell.model.namePrompt.shown
        onActivated: shell.model.nowPlaying.close()
    }

    TopBar {
        id: topBar
        objectName: "topBar"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        model: shell.model.topBar
        outputs: shell.model.outputs
    }

    Item {
        id: middle
        anchors.top: topBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: bottomDivider.top

        Sidebar {
            id: sidebar
            objectName: "sidebar"
            width: 216
            height: parent.height
            model: shell.model.sidebar
        }
        Rectangle {
            id: sideDivider
            anchors.left: sidebar.right
            width: 1
            height: parent.height
            color: Theme.stroke
        }

        Item {
            id: content
            objectName: "contentArea"
            anchors.left: sideDivider.right
            anchors.right: queueArea.left
            height: parent.height
            // Now Playing rises within the content area only.
            clip: true

            RouteView {
                anchors.fill: parent
                // Covered by Now Playing, the page is out of the Tab chain and of the
                // accessibility tree.
                visible: shell.nowPlayingShown < 1
                // While the error banner shows, the page moves down from under it, so that it
                // never covers a page's title.
                anchors.topMargin: banner.presence * (banner.y + banner.height + 10 - middle.y)
                model: shell.model.routes
                downloads: shell.model.downloads
                queue: shell.queue
                download: shell.download
                logSheet: shell.logSheet
                history: shell.history
                music: shell.music
                tools: shell.tools
                diagnostics: shell.diagnostics
            }

            Loader {
                id: nowPlayingSlot
                objectName: "nowPlayingSlot"
                width: parent.width
                height: parent.height
                y: (1 - shell.nowPlayingShown) * height
                z: 2
                opacity: shell.nowPlayingShown
                active: shell.nowPlayingShown > 0
                // Closing, it lets go of the keyboard at once, which goes back to what opened it
                // (an entry of the sidebar that closed it keeps it).
                enabled: shell.model.showNowPlaying
                // Risen over the page, it takes the keyboard on its close button.
                onLoaded: KeyboardAccess.showPage(item, true)
                // The loader keeps the view model for every activation.
                Component.onCompleted: setSource("NowPlayingView.qml", {"model": shell.model.nowPlaying})
            }
        }

        Item {
            id: queueArea
            objectName: "queueArea"
            anchors.right: parent.right
            width: 321 * shell.queueShown
            height: parent.height
            visible: width > 0
            clip: true

            Rectangle {
                objectName: "queueDivider"
                width: 1
                height: parent.height
                color: Theme.stroke
            }
            Loader {
                objectName: "queuePanelSlot"
                // Held to the trailing edge, so the panel slides in from there as the area opens.
                x: queueArea.width - 320
                width: 320
                height: parent.height
                active: queueArea.visible
                Component.onCompleted: setSource("QueuePanel.qml", {"model": shell.model.queuePanel})
            }
        }
    }

    Rectangle {
        id: bottomDivider
        anchors.bottom: playerBarSlot.top
        width: parent.width
        height: 1
        color: Theme.stroke
    }
    PlayerBar {
        id: playerBarSlot
        objectName: "playerBarSlot"
        anchors.bottom: parent.bottom
        width: parent.width
        height: 78
        model: shell.model.playerBar
    }

    ErrorBanner {
        id: banner

        objectName: "errorBanner"
        // Over the content area, clear of the sidebar and the queue panel's title.
        x: middle.x + content.x + (content.width - width) / 2
        y: 62
        z: 3
        maxWidth: Math.min(640, content.width - 80)
        message: shell.model.errorMessage
    }

    NamePromptSheet {
        model: shell.model.namePrompt
    }
}
