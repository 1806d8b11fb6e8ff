import QtQuick
import Morvane

// The search route's page: one face for each phase of the last search. Idle shows the title and
// the hint or the recent searches; loading a one-line notice; a failure its message and "Try
// again"; results their title, actions, playlists and song rows in one list.
Item {
    id: screen

    required property SearchScreenModel model

    function show() {
        const files = {
            "idle": "SearchIdleFace.qml",
            "loading": "SearchLoadingFace.qml",
            "failed": "SearchFailedFace.qml"
        }
        const file = files[model.face] ?? "SearchResults.qml"
        if (file === "SearchResults.qml")
            face.setSource(file, {
                "screenModel": model
            })
        else
            face.setSource(file, {
                "model": model
            })
    }

    Component.onCompleted: show()

    Connections {
        target: screen.model
        function onFaceChanged() {
            screen.show()
        }
    }

    Loader {
        id: face

        objectName: "searchFace"
        anchors.fill: parent
    }
}
