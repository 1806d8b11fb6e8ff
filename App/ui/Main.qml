import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The main window. Closing it only hides it: the application keeps running until it is quit.
AppWindow {
    id: window

    required property RootViewModel root
    required property SetupViewModel setup
    required property DiagnosticsViewModel diagnostics
    required property HistoryViewModel history
    required property DownloadQueueModel queue
    required property DownloadScreenModel download
    required property LogSheetModel logSheet
    required property CommandController commands
    required property MusicSettingsModel music
    required property ToolsSettingsModel tools
    required property MusicShellModel musicShell

    // Built anew at each opening, so it starts on its first tab; an open one comes forward.
    property Window settingsWindow: null

    function openSettings() {
        if (!settingsWindow) {
            settingsWindow = Qt.createComponent("settings/SettingsWindow.qml").createObject(null, {
                "music": music,
                "tools": tools
            });
            settingsWindow.closing.connect(() => {
                settingsWindow.destroy();
                settingsWindow = null;
            });
            settingsWindow.quitRequested.connect(window.commands.quit);
        }
        // A window that appears comes to the front; only one already open may be behind others.
        if (settingsWindow.visible)
            settingsWindow.raise();
        settingsWindow.show();
        settingsWindow.requestActivate();
    }

    objectName: "mainWindow"
    title: "Morvane"
    width: 1280
    height: 800
    minimumWidth: 1020
    minimumHeight: 660

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        // The menus keep their mnemonic marks for Alt and read without them.
        MenuBar {
            Layout.fillWidth: true
            delegate: MenuBarItem {
                Accessible.name: KeyboardAccess.plainText(text)
            }

            Menu {
                id: fileMenu
                objectName: "fileMenu"
                title: qsTr("&File")
                delegate: plainEntry
                // Where the desktop has a tray, its icon opens the small player instead. Without
                // one it follows the new-item group and its separator: made in its place, so a screen
                // reader meets it where it is drawn, and taken out where it is not offered.
                Component.onCompleted: if (!window.commands.miniPlayerOffered) fileMenu.removeItem(miniPlayer)

                Action {
                    text: qsTr("New Download")
                    shortcut: "Ctrl+N"
                    onTriggered: window.commands.newDownload()
                }
                Action {
                    text: qsTr("Paste Link && Fetch")
                    shortcut: "Ctrl+Shift+V"
                    onTriggered: window.commands.pasteLinkAndFetch()
                }
                MenuSeparator {}
                MenuItem {
                    id: miniPlayer
                    action: Action {
                        text: qsTr("Mini Player")
                        onTriggered: window.commands.openMiniPlayer()
                    }
                }
                Action {
                    text: qsTr("Settings…")
                    shortcut: "Ctrl+,"
                    onTriggered: window.openSettings()
                }
                Action {
                    text: qsTr("Check for Tool Updates")
                    onTriggered: window.commands.checkToolUpdates()
                }
                MenuSeparator {}
                Action {
                    text: qsTr("Quit")
                    shortcut: "Ctrl+Q"
                    onTriggered: window.commands.quit()
                }
            }

            Menu {
                title: qsTr("&Playback")
                delegate: plainEntry
                Action {
                    text: window.commands.playTitle
                    shortcut: "Ctrl+P"
                    onTriggered: window.commands.togglePlay()
                }
                // Ctrl+Alt+arrows switch workspaces on most desktops.
                Action {
                    text: qsTr("Next")
                    shortcut: "Ctrl+Alt+PgDown"
                    onTriggered: window.commands.next()
                }
                Action {
                    text: qsTr("Previous")
                    shortcut: "Ctrl+Alt+PgUp"
                    onTriggered: window.commands.previous()
                }
                Action {
                    text: qsTr("Skip Forward 15s")
                    shortcut: "Ctrl+Shift+Right"
                    onTriggered: window.commands.skip(15)
                }
                Action {
                    text: qsTr("Skip Back 15s")
                    shortcut: "Ctrl+Shift+Left"
                    onTriggered: window.commands.skip(-15)
                }
                MenuSeparator {}
                Action {
                    text: qsTr("Volume Up")
                    shortcut: "Ctrl+Alt+="
                    onTriggered: window.commands.changeVolume(0.1)
                }
                Action {
                    text: qsTr("Volume Down")
                    shortcut: "Ctrl+Alt+-"
                    onTriggered: window.commands.changeVolume(-0.1)
                }
                MenuSeparator {}
                Action {
                    text: qsTr("Toggle Shuffle")
                    shortcut: "Ctrl+Alt+S"
                    onTriggered: window.commands.toggleShuffle()
                }
                Action {
                    text: qsTr("Cycle Repeat")
                    shortcut: "Ctrl+Alt+R"
                    onTriggered: window.commands.cycleRepeat()
                }
                Action {
                    text: qsTr("Toggle Non-Stop Playback")
                    shortcut: "Ctrl+Alt+N"
                    onTriggered: window.commands.toggleNonStop()
                }
                Action {
                    text: qsTr("Like Current Song")
                    shortcut: "Ctrl+L"
                    onTriggered: window.commands.likeCurrentSong()
                }
                Action {
                    text: qsTr("Show Queue")
                    shortcut: "Ctrl+Alt+Q"
                    onTriggered: window.commands.toggleQueue()
                }
            }

            Menu {
                title: qsTr("&Downloads")
                delegate: plainEntry
                Action {
                    id: pauseAll
                    text: qsTr("Pause All")
                    shortcut: "Ctrl+Shift+."
                    onTriggered: window.commands.pauseAll()
                }
                Action {
                    text: qsTr("Resume All")
                    shortcut: "Ctrl+Shift+R"
                    onTriggered: window.commands.resumeAll()
                }
                Action {
                    text: qsTr("Clear Finished")
                    onTriggered: window.commands.clearFinished()
                }
                MenuSeparator {}
                Action {
                    text: qsTr("Open Download Folder")
                    shortcut: "Ctrl+Shift+O"
                    onTriggered: window.commands.openDownloadFolder()
                }
            }

            Menu {
                title: qsTr("&Go")
                delegate: plainEntry
                Action {
                    text: qsTr("Home")
                    shortcut: "Ctrl+1"
                    onTriggered: window.commands.go(1)
                }
                Action {
                    text: qsTr("Search")
                    shortcut: "Ctrl+2"
                    onTriggered: {
                        window.commands.go(2);
                        content.focusSearch();
                    }
                }
                Action {
                    text: qsTr("Explore")
                    shortcut: "Ctrl+3"
                    onTriggered: window.commands.go(3)
                }
                Action {
                    text: qsTr("Liked Songs")
                    shortcut: "Ctrl+4"
                    onTriggered: window.commands.go(4)
                }
                Action {
                    text: qsTr("Playlists")
                    shortcut: "Ctrl+5"
                    onTriggered: window.commands.go(5)
                }
                Action {
                    text: qsTr("Downloads")
                    shortcut: "Ctrl+6"
                    onTriggered: window.commands.go(6)
                }
            }
        }

        Root {
            id: content
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: window.root
            setup: window.setup
            diagnostics: window.diagnostics
            history: window.history
            queue: window.queue
            download: window.download
            logSheet: window.logSheet
            musicShell: window.musicShell
            music: window.music
            tools: window.tools
        }
    }

    Component {
        id: plainEntry
        MenuItem {
            Accessible.name: KeyboardAccess.plainText(text)
        }
    }
}
