#pragma once

#include "ui/settings/FolderChooserModel.h"
#include "ui/settings/FormatSettingsModel.h"
#include "ui/settings/GeneralSettingsModel.h"
#include "ui/settings/MusicSettingsModel.h"
#include "ui/settings/NetworkSettingsModel.h"
#include "ui/settings/Setting.h"
#include "ui/settings/SettingPicker.h"
#include "ui/settings/SettingStepper.h"
#include "ui/settings/ToolStateListModel.h"
#include "ui/settings/ToolsSettingsModel.h"

#include <QtQml/qqml.h>

// The settings window's C++ types as QML sees them. A view binds a key with `Setting` and builds
// the three tab models that need nothing from outside; the Music and Tools tabs' models are handed
// in by whoever opens the window, and the pickers, steppers and tool rows are reached through the tab
// models only. The folder chooser, which the download form shares, builds its own model.

struct SettingForeign
{
    Q_GADGET
    QML_FOREIGN(Setting)
    QML_NAMED_ELEMENT(Setting)
};

struct GeneralSettingsModelForeign
{
    Q_GADGET
    QML_FOREIGN(GeneralSettingsModel)
    QML_NAMED_ELEMENT(GeneralSettingsModel)
};

struct FolderChooserModelForeign
{
    Q_GADGET
    QML_FOREIGN(FolderChooserModel)
    QML_NAMED_ELEMENT(FolderChooserModel)
};

struct FormatSettingsModelForeign
{
    Q_GADGET
    QML_FOREIGN(FormatSettingsModel)
    QML_NAMED_ELEMENT(FormatSettingsModel)
};

struct NetworkSettingsModelForeign
{
    Q_GADGET
    QML_FOREIGN(NetworkSettingsModel)
    QML_NAMED_ELEMENT(NetworkSettingsModel)
};

struct ToolsSettingsModelForeign
{
    Q_GADGET
    QML_FOREIGN(ToolsSettingsModel)
    QML_NAMED_ELEMENT(ToolsSettingsModel)
    QML_UNCREATABLE("Handed in with the tool manager it shows")
};

struct MusicSettingsModelForeign
{
    Q_GADGET
    QML_FOREIGN(MusicSettingsModel)
    QML_NAMED_ELEMENT(MusicSettingsModel)
    QML_UNCREATABLE("Handed in with the player and library it edits")
};

struct SettingPickerForeign
{
    Q_GADGET
    QML_FOREIGN(SettingPicker)
    QML_ANONYMOUS
};

struct SettingStepperForeign
{
    Q_GADGET
    QML_FOREIGN(SettingStepper)
    QML_ANONYMOUS
};

struct ToolStateListModelForeign
{
    Q_GADGET
    QML_FOREIGN(ToolStateListModel)
    QML_ANONYMOUS
};
