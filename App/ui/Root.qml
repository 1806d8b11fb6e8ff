import QtQuick
import Morvane

// The main window's content: the setup screen until every tool works, then the music shell.
Item {
    id: root

    required property RootViewModel model
    required property SetupViewModel setup
    required property DiagnosticsViewModel diagnostics
    required property HistoryViewModel history
    required property DownloadQueueModel queue
    required property DownloadScreenModel download
    required property LogSheetModel logSheet
    required property MusicShellModel musicShell
    required property MusicSettingsModel music
    required property ToolsSettingsModel tools

    readonly property string shown: model.setupDone ? "Shell" : "Setup"

    // Screens get their view models as they load; only the one shown exists.
    function load() {
        setupSlot.active = shown === "Setup";
        if (shown === "Setup") {
            setupSlot.setSource("downloader/SetupScreen.qml", {"model": setup});
            shellSlot.source = "";
        } else {
            shellSlot.setSource("music/MusicShell.qml", {
                "model": musicShell,
                "queue": queue,
                "download": download,
                "logSheet": logSheet,
                "history": history,
                "music": music,
                "tools": tools,
                "diagnostics": diagnostics
            });
        }
    }

    // Go ▸ Search puts the cursor in the music search field.
    function focusSearch() {
        if (shellSlot.item)
            (shellSlot.item as MusicShell).focusSearch();
    }

    onShownChanged: load()
    Component.onCompleted: load()

    Loader {
        id: setupSlot
        objectName: "setupSlot"
        anchors.fill: parent
    }

    Loader {
        id: shellSlot
        objectName: "shellSlot"
        anchors.fill: parent
    }

    // Links dropped anywhere on the window, also while the setup screen shows. A drop always
    // succeeds: what it holds is for link intake to judge.
    DropArea {
        id: dropTarget
        objectName: "dropTarget"
        anchors.fill: parent
        keys: ["text/uri-list", "text/plain"]
        onDropped: drop => {
            root.model.drop(drop.urls, drop.text);
            drop.accept(Qt.CopyAction);
        }
    }

    Loader {
        objectName: "dropOverlay"
        anchors.fill: parent
        active: dropTarget.containsDrag
        sourceComponent: DropOverlay {}
    }

    ToastView {
        anchors.bottom: parent.bottom
        // Above the music window's player bar, never over its controls.
        anchors.bottomMargin: root.shown === "Shell" && shellSlot.item ? (shellSlot.item as MusicShell).bottomInset : 0
        anchors.horizontalCenter: parent.horizontalCenter
        text: root.model.toast
    }
}
