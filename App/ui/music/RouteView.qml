import QtQuick
import Morvane

// The content area's screen for the current route: the one place that maps a route to a screen.
// A new kind of route builds its screen anew; from one playlist to another the screen stays and
// follows the id.
Item {
    id: view

    required property RouteViewModel model
    required property DownloadsScreenModel downloads
    required property DownloadQueueModel queue
    required property DownloadScreenModel download
    required property LogSheetModel logSheet
    required property HistoryViewModel history
    required property MusicSettingsModel music
    required property ToolsSettingsModel tools
    required property DiagnosticsViewModel diagnostics

    function show() {
        // Cleared first, so a route that shares its file with the last one still starts anew.
        screen.source = ""
        switch (model.screen) {
        case "downloads":
            screen.setSource("DownloadsScreen.qml", {
                "model": downloads,
                "queue": queue,
                "download": download,
                "logSheet": logSheet,
                "history": history
            })
            return
        case "settings":
            screen.setSource("SettingsScreen.qml", {
                "music": music,
                "tools": tools,
                "diagnostics": diagnostics
            })
            return
        case "search":
            screen.setSource("SearchScreen.qml", {
                "model": model.screenModel
            })
            return
        case "liked":
        case "libraryDownloads":
            screen.setSource("TrackListScreen.qml", {
                "model": model.screenModel
            })
            return
        case "recent":
            screen.setSource("RecentScreen.qml", {
                "songs": model.screenModel
            })
            return
        case "playlist":
            screen.setSource("PlaylistDetailScreen.qml", {
                "model": model.screenModel
            })
            return
        case "home":
            screen.setSource("HomeView.qml", { "home": model.home })
            return
        case "explore":
            screen.setSource("ExploreView.qml", { "model": model.explore })
            return
        case "playlists":
            screen.setSource("PlaylistsScreen.qml", { "playlists": model.playlists })
            return
        }
        // A route whose screen is not here yet names itself.
        screen.setSource("EmptyState.qml", {
            "objectName": "routePlaceholder",
            "symbol": model.symbol,
            "title": model.title,
            "message": "This screen is not here yet."
        })
    }

    Component.onCompleted: show()

    Connections {
        target: view.model
        function onScreenChanged() {
            view.show()
        }
    }

    Loader {
        id: screen
        objectName: "routeScreen"
        anchors.fill: parent
        onLoaded: KeyboardAccess.showPage(item)
    }
}
