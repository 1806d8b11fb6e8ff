import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The form for fetched media: what it is, the quality, the playlist entries, the extras and the
// enqueue button, one below the other.
ColumnLayout {
    id: form

    required property DownloadFormModel model
    readonly property DownloadSettings settings: model.settings

    spacing: 18

    // The media header.
    RowLayout {
        Layout.fillWidth: true
        spacing: 16

        Rectangle {
            Layout.preferredWidth: 240
            Layout.preferredHeight: 135
            Layout.alignment: Qt.AlignTop
            radius: 10
            color: Theme.panel
            clip: true

            Icon {
                anchors.centerIn: parent
                visible: thumbnail.status !== Image.Ready
                name: "photo"
                size: 32
                color: Theme.dim
            }
            Image {
                id: thumbnail
                objectName: "thumbnail"
                anchors.fill: parent
                asynchronous: true
                fillMode: Image.PreserveAspectCrop
                sourceSize.width: 240
                sourceSize.height: 135
                source: form.model.thumbnail !== "" ? "image://thumbnail/" + encodeURIComponent(form.model.thumbnail) : ""
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 6

            TextEdit {
                objectName: "mediaTitle"
                Layout.fillWidth: true
                // At most three lines; the lines of one plain font are all equally tall.
                Layout.maximumHeight: lineCount > 3 ? topPadding + bottomPadding + contentHeight * 3 / lineCount
                                                    : implicitHeight
                clip: true
                text: form.model.title
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.Wrap
                color: Theme.text
                font.pixelSize: Theme.title3
                font.weight: Font.DemiBold
            }
            MediaLine {
                visible: form.model.uploader !== ""
                symbol: "person.crop.circle"
                text: form.model.uploader
            }
            MediaLine {
                symbol: form.model.isPlaylist ? "list.number" : "clock"
                text: form.model.lengthLine
            }
            MediaLine {
                visible: form.model.formatsLine !== ""
                symbol: "film"
                text: form.model.formatsLine
            }
            Label {
                visible: form.model.extractor !== ""
                text: form.model.extractor
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: Theme.caption
                leftPadding: 6
                rightPadding: 6
                topPadding: 2
                bottomPadding: 2
                background: Rectangle {
                    radius: height / 2
                    color: Theme.panel
                }
            }
        }
    }

    FormSection {
        header: form.model.qualityTitle

        // One segment per preset; the coordinator's preset is the checked one. The segments that do
        // not fit the form's width go on to a second line.
        Flow {
            objectName: "presetPicker"
            Layout.fillWidth: true
            spacing: 0

            Repeater {
                model: form.model.presets
                // Wired here: a delegate that reached the form would read it from a context of its own.
                onItemAdded: (index, item) => {
                    const button = item as Button;
                    button.checked = Qt.binding(() => form.model.presetIndex === index);
                    button.clicked.connect(() => form.model.choosePreset(index));
                }

                Button {
                    required property var modelData
                    objectName: "preset" + modelData.value
                    text: modelData.text
                    highlighted: checked
                }
            }
        }

        RowLayout {
            objectName: "audioFormatRow"
            visible: form.model.audioOnly
            spacing: 8

            Label {
                text: form.model.audioFormatLabel
                textFormat: Text.PlainText
            }
            PickerBox {
                Layout.maximumWidth: 260 - 8
                picker: form.settings.audioFormat
            }
        }

        ColumnLayout {
            objectName: "advancedPickers"
            visible: form.model.advanced
            Layout.fillWidth: true
            spacing: 8

            FormatPicker {
                label: form.model.videoLabel
                options: form.model.videoOptions
                currentIndex: form.model.videoIndex
                onPicked: index => form.model.chooseVideo(index)
            }
            FormatPicker {
                label: form.model.audioLabel
                options: form.model.audioOptions
                currentIndex: form.model.audioIndex
                onPicked: index => form.model.chooseAudio(index)
            }
            Label {
                Layout.fillWidth: true
                text: form.model.advancedNote
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.caption
                wrapMode: Text.Wrap
            }
        }

        RowLayout {
            objectName: "containerRow"
            visible: !form.model.audioOnly && !form.model.advanced
            Layout.fillWidth: true
            spacing: 8

            Label {
                objectName: "presetHint"
                Layout.fillWidth: true
                text: form.model.presetHint
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.callout
                elide: Text.ElideRight
            }
            Label {
                text: form.model.containerLabel
                textFormat: Text.PlainText
            }
            PickerBox {
                Layout.preferredWidth: 170 - 8
                picker: form.settings.container
            }
        }
    }

    FormSection {
        visible: form.model.isPlaylist
        header: form.model.playlistTitle

        PlaylistEntries {
            Layout.fillWidth: true
            model: form.model
        }
    }

    FormSection {
        header: form.model.extrasTitle

        RowLayout {
            spacing: 24

            SettingCheck {
                text: form.model.embedThumbnailText
                setting: form.settings.embedThumbnail
            }
            SettingCheck {
                text: form.model.embedMetadataText
                setting: form.settings.embedMetadata
            }
        }

        RowLayout {
            spacing: 12

            SettingCheck {
                text: form.model.subtitlesText
                setting: form.settings.writeSubs
            }
            TextField {
                objectName: "subLangs"
                visible: form.model.subtitleOptionsShown
                Layout.preferredWidth: 200
                placeholderText: form.model.languagesPrompt
                text: form.settings.subLangs.value
                onTextEdited: form.settings.subLangs.value = text
            }
            SettingCheck {
                visible: form.model.subtitleOptionsShown
                text: form.model.autoSubsText
                setting: form.settings.autoSubs
            }
            SettingCheck {
                visible: form.model.embedSubsShown
                text: form.model.embedSubsText
                setting: form.settings.embedSubs
            }
        }

        Label {
            objectName: "subtitleNote"
            visible: form.model.subtitleNoteShown
            Layout.fillWidth: true
            text: form.model.subtitleNote
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.caption
            wrapMode: Text.Wrap
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 8

            Icon {
                name: "folder"
                color: Theme.dim
            }
            Label {
                objectName: "folder"
                Layout.fillWidth: true
                text: form.settings.folder.value
                textFormat: Text.PlainText
                color: Theme.dim
                elide: Text.ElideMiddle
            }
            Button {
                objectName: "changeFolder"
                text: form.model.changeFolderText
                onClicked: chooser.show(form.settings.folder.value)
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true

        Item {
            Layout.fillWidth: true
        }
        SymbolButton {
            objectName: "enqueueButton"
            highlighted: true
            leftPadding: 16
            rightPadding: 16
            topPadding: 10
            bottomPadding: 10
            symbol: "arrow.down.circle.fill"
            text: form.model.enqueueText
            onClicked: form.model.enqueue()
        }
    }

    FolderChooser {
        id: chooser
        objectName: "folderChooser"
        onChosen: folder => form.settings.chooseFolder(folder)
    }
}
