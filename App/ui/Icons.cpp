#include "Icons.h"

#include <QFontDatabase>
#include <QHash>
#include <QtQml/qqmlinfo.h>

namespace {
// Symbol name → Material Icons code point (the font's own name in the comment).
const QHash<QString, char32_t> &table()
{
    static const QHash<QString, char32_t> symbols{
        {QStringLiteral("airplayaudio"), 0xe32d},                    // speaker
        {QStringLiteral("arrow.clockwise"), 0xe5d5},                 // refresh
        {QStringLiteral("arrow.down.circle"), 0xf181},               // arrow_circle_down
        {QStringLiteral("arrow.down.circle.fill"), 0xf000},          // download_for_offline
        {QStringLiteral("arrow.down.doc.fill"), 0xf068},             // sim_card_download
        {QStringLiteral("arrow.up"), 0xe5d8},                        // arrow_upward
        {QStringLiteral("backward.fill"), 0xe020},                   // fast_rewind
        {QStringLiteral("checkmark"), 0xe5ca},                       // check
        {QStringLiteral("checkmark.circle.fill"), 0xe86c},           // check_circle
        {QStringLiteral("chevron.down"), 0xe5cf},                    // expand_more
        {QStringLiteral("chevron.right"), 0xe5cc},                   // chevron_right
        {QStringLiteral("circle.dotted"), 0xe836},                   // radio_button_unchecked
        {QStringLiteral("clock"), 0xe8b5},                           // schedule
        {QStringLiteral("clock.arrow.circlepath"), 0xe889},          // history
        {QStringLiteral("clock.fill"), 0xe924},                      // watch_later
        {QStringLiteral("doc.on.clipboard"), 0xe14f},                // content_paste
        {QStringLiteral("doc.on.doc"), 0xe14d},                      // content_copy
        {QStringLiteral("doc.text"), 0xe873},                        // description
        {QStringLiteral("dot.radiowaves.left.and.right"), 0xe51e},   // sensors
        {QStringLiteral("ellipsis"), 0xe5d3},                        // more_horiz
        {QStringLiteral("ellipsis.circle"), 0xef64},                 // pending
        {QStringLiteral("exclamationmark.magnifyingglass"), 0xea76}, // search_off
        {QStringLiteral("exclamationmark.triangle.fill"), 0xe002},   // warning
        {QStringLiteral("film"), 0xe02c},                            // movie
        {QStringLiteral("folder"), 0xe2c7},                          // folder
        {QStringLiteral("folder.badge.plus"), 0xe2cc},               // create_new_folder
        {QStringLiteral("forward.fill"), 0xe01f},                    // fast_forward
        {QStringLiteral("gearshape"), 0xe8b8},                       // settings
        {QStringLiteral("gearshape.2.fill"), 0xf05e},                // settings_suggest
        {QStringLiteral("gearshape.fill"), 0xe8b8},                  // settings
        {QStringLiteral("heart"), 0xe87e},                           // favorite_border
        {QStringLiteral("heart.fill"), 0xe87d},                      // favorite
        {QStringLiteral("heart.slash"), 0xeac2},                     // heart_broken
        {QStringLiteral("house.fill"), 0xe88a},                      // home
        {QStringLiteral("infinity"), 0xeb3d},                        // all_inclusive
        {QStringLiteral("link"), 0xe157},                            // link
        {QStringLiteral("list.bullet"), 0xe241},                     // format_list_bulleted
        {QStringLiteral("list.number"), 0xe242},                     // format_list_numbered
        {QStringLiteral("magnifyingglass"), 0xe8b6},                 // search
        {QStringLiteral("minus"), 0xe15b},                           // remove
        {QStringLiteral("minus.circle"), 0xe15d},                    // remove_circle_outline
        {QStringLiteral("music.note"), 0xe405},                      // music_note
        {QStringLiteral("music.note.list"), 0xe03d},                 // queue_music
        {QStringLiteral("music.quarternote.3"), 0xe030},             // library_music
        {QStringLiteral("network"), 0xeb2f},                         // lan
        {QStringLiteral("pause.circle.fill"), 0xe1a2},               // pause_circle
        {QStringLiteral("pause.fill"), 0xe034},                      // pause
        {QStringLiteral("pencil"), 0xe3c9},                          // edit
        {QStringLiteral("person.crop.circle"), 0xe853},              // account_circle
        {QStringLiteral("photo"), 0xe3f4},                           // image
        {QStringLiteral("play.circle"), 0xe039},                     // play_circle_outline
        {QStringLiteral("play.fill"), 0xe037},                       // play_arrow
        {QStringLiteral("play.rectangle.on.rectangle"), 0xe04a},     // video_library
        {QStringLiteral("plus"), 0xe145},                            // add
        {QStringLiteral("repeat"), 0xe040},                          // repeat
        {QStringLiteral("repeat.1"), 0xe041},                        // repeat_one
        {QStringLiteral("safari.fill"), 0xe87a},                     // explore
        {QStringLiteral("shuffle"), 0xe043},                         // shuffle
        {QStringLiteral("speaker.slash.fill"), 0xe04f},              // volume_off
        {QStringLiteral("speaker.wave.1.fill"), 0xe04d},             // volume_down
        {QStringLiteral("speaker.wave.2.fill"), 0xe050},             // volume_up
        {QStringLiteral("square.and.arrow.down"), 0xe171},           // save_alt
        {QStringLiteral("stethoscope"), 0xe1d2},                     // troubleshoot
        {QStringLiteral("text.append"), 0xe03b},                     // playlist_add
        {QStringLiteral("text.insert"), 0xe066},                     // queue_play_next
        {QStringLiteral("trash"), 0xe872},                           // delete
        {QStringLiteral("tray"), 0xe156},                            // inbox
        {QStringLiteral("tray.and.arrow.down.fill"), 0xe168},        // move_to_inbox
        {QStringLiteral("waveform.circle.fill"), 0xe1b8},            // graphic_eq
        {QStringLiteral("wrench.and.screwdriver"), 0xe869},          // build
        {QStringLiteral("xmark"), 0xe5cd},                           // close
        {QStringLiteral("xmark.circle"), 0xe888},                    // highlight_off
        {QStringLiteral("xmark.circle.fill"), 0xe5c9},               // cancel
        {QStringLiteral("xmark.octagon.fill"), 0xe99a},              // dangerous
    };
    return symbols;
}
} // namespace

QString Icons::fontPath()
{
    return QStringLiteral("/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf");
}

QString Icons::load()
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(fontPath());
        return id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0);
    }();
    return family;
}

std::optional<char32_t> Icons::codePoint(const QString &name)
{
    const auto it = table().constFind(name);
    if (it == table().constEnd())
        return std::nullopt;
    return *it;
}

QStringList Icons::names()
{
    QStringList all = table().keys();
    all.sort();
    return all;
}

QString Icons::glyph(const QString &name) const
{
    const std::optional<char32_t> point = codePoint(name);
    if (!point) {
        qmlWarning(this) << "unknown icon name \"" << name << "\"";
        return {};
    }
    return QString::fromUcs4(&*point, 1);
}
