import QtQuick
import QtQuick.Controls
import Morvane

// A song's menu on screen, over the controller made for that song when it opened. Its entries are
// fixed from then on, so they are added once; the playlists form a submenu.
Menu {
    id: menu

    property TrackMenu controller: null

    objectName: "trackMenu"
    implicitWidth: 250

    function build() {
        for (const entry of controller.entries) {
            if (entry.key === "divider")
                addItem(divider.createObject(menu.contentItem))
            else if (entry.key === "playlists")
                addMenu(playlists.createObject(menu, {
                    "title": entry.text,
                    "controller": controller
                }))
            else
                addItem(action.createObject(menu.contentItem, {
                    "entry": entry,
                    "controller": controller
                }))
        }
    }

    // The item that opens the submenu.
    delegate: TrackMenuItem {
        objectName: "entry:playlists"
        label: subMenu ? subMenu.title : ""
        symbol: "music.note.list"
    }

    Component {
        id: action

        TrackMenuItem {
            required property var entry
            required property TrackMenu controller

            objectName: "entry:" + entry.key
            label: entry.text
            symbol: entry.symbol
            destructive: entry.key === "remove"
            onTriggered: controller.choose(entry.key)
        }
    }

    Component {
        id: divider

        MenuSeparator {}
    }

    Component {
        id: playlists

        Menu {
            id: submenu

            required property TrackMenu controller

            objectName: "playlistMenu"
            implicitWidth: 220

            Component.onCompleted: {
                for (const entry of controller.playlistEntries) {
                    if (entry.key === "divider")
                        addItem(divider.createObject(submenu.contentItem))
                    else
                        addItem(action.createObject(submenu.contentItem, {
                            "entry": entry,
                            "controller": controller
                        }))
                }
            }
        }
    }
}
