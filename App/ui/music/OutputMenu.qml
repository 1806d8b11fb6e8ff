import QtQuick
import QtQuick.Controls
import Morvane

// The output picker's menu: one line per output, the one in use checked. A device's name shows as
// the system gives it: an "&" in it is no shortcut mark.
Menu {
    id: menu

    required property OutputListModel model

    objectName: "outputMenu"

    Instantiator {
        model: menu.model
        delegate: TrackMenuItem {
            required property string name
            required property string description
            required property bool inUse

            label: description
            checkable: true
            checked: inUse
            onTriggered: () => menu.model.choose(name)
        }
        onObjectAdded: (index, object) => menu.insertItem(index, object)
        onObjectRemoved: (index, object) => menu.removeItem(object)
    }
}
