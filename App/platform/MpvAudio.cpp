#include "MpvAudio.h"

#include "core/LogManager.h"

#include <QMetaObject>

#include <algorithm>

#include <mpv/client.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <list>
#include <vector>

namespace {

enum Observed : uint64_t { CoreIdle = 1, Pause, EofReached, PausedForCache, DeviceList, Device };

// A map node for mpv_command_node whose texts and nested lists live as long as the object.
class NodeMap
{
public:
    void add(const char *key, const QString &value)
    {
        m_texts.push_back(value.toUtf8());
        mpv_node node{};
        node.format = MPV_FORMAT_STRING;
        node.u.string = m_texts.back().data();
        append(key, node);
    }

    void add(const char *key, NodeMap &map)
    {
        mpv_node node{};
        node.format = MPV_FORMAT_NODE_MAP;
        node.u.list = map.list();
        append(key, node);
    }

    [[nodiscard]] bool isEmpty() const { return m_values.empty(); }

    mpv_node_list *list()
    {
        m_list.num = int(m_values.size());
        m_list.values = m_values.data();
        m_list.keys = m_keys.data();
        return &m_list;
    }

private:
    void append(const char *key, const mpv_node &node)
    {
        m_keys.push_back(const_cast<char *>(key));
        m_values.push_back(node);
    }

    std::list<QByteArray> m_texts; // a list: growing it never moves the bytes handed out
    std::vector<char *> m_keys;
    std::vector<mpv_node> m_values;
    mpv_node_list m_list{};
};

// mpv's error strings are lower-case phrases ("loading failed"); the user reads a sentence.
QString sentence(const MpvLibrary &api, int error)
{
    QString text = QString::fromUtf8(api.errorString(error));
    if (text.isEmpty())
        return QStringLiteral("Playback failed.");
    text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

} // namespace

MpvAudio::MpvAudio(QObject *parent)
    : AudioBackend(parent)
{}

bool MpvAudio::startCore()
{
    if (m_mpv)
        return true;
    if (m_startFailed)
        return false;
    m_startFailed = true;
    if (!m_api.load()) {
        LogManager::appLog(QStringLiteral("audio: libmpv could not be loaded: ") + m_api.error());
        return false;
    }
    // mpv refuses to start under a locale whose decimal separator is not a point.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = m_api.create();
    if (!m_mpv) {
        LogManager::appLog(QStringLiteral("audio: mpv could not be created"));
        return false;
    }
    const QByteArray output = qgetenv("MORVANE_AO");
    if (!output.isEmpty())
        m_api.setOptionString(m_mpv, "ao", output.constData());
    const std::pair<const char *, const char *> options[] = {
        {"vid", "no"},
        {"ytdl", "no"},
        {"keep-open", "yes"},
        {"load-scripts", "no"},
        {"config", "no"},
        {"idle", "yes"},
        {"input-default-bindings", "no"},
        {"terminal", "no"},
        {"audio-display", "no"},
        {"hr-seek", "yes"},
    };
    for (const auto &[name, value] : options)
        m_api.setOptionString(m_mpv, name, value);
    if (m_api.initialize(m_mpv) < 0) {
        LogManager::appLog(QStringLiteral("audio: mpv could not be initialised"));
        m_api.terminateDestroy(m_mpv);
        m_mpv = nullptr;
        return false;
    }
    m_api.observeProperty(m_mpv, CoreIdle, "core-idle", MPV_FORMAT_FLAG);
    m_api.observeProperty(m_mpv, Pause, "pause", MPV_FORMAT_FLAG);
    m_api.observeProperty(m_mpv, EofReached, "eof-reached", MPV_FORMAT_FLAG);
    m_api.observeProperty(m_mpv, PausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    m_api.observeProperty(m_mpv, DeviceList, "audio-device-list", MPV_FORMAT_NODE);
    m_api.observeProperty(m_mpv, Device, "audio-device", MPV_FORMAT_STRING);
    m_api.setWakeupCallback(m_mpv, &MpvAudio::wakeup, this);
    m_startFailed = false;
    applyVolume();
    return true;
}

MpvAudio::~MpvAudio()
{
    if (!m_mpv)
        return;
    m_api.setWakeupCallback(m_mpv, nullptr, nullptr);
    m_api.terminateDestroy(m_mpv);
}

void MpvAudio::wakeup(void *context)
{
    auto *self = static_cast<MpvAudio *>(context);
    // One queued drain empties everything mpv has by then; more would only wake us for nothing.
    if (!self->m_drainQueued.exchange(true))
        QMetaObject::invokeMethod(self, &MpvAudio::drain, Qt::QueuedConnection);
}

void MpvAudio::drain()
{
    m_drainQueued = false;
    while (m_mpv) {
        const mpv_event *event = m_api.waitEvent(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handle(*event);
    }
}

void MpvAudio::handle(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        m_startedEntry = static_cast<const mpv_event_start_file *>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        // mpv sends no id with this event: it belongs to the entry started last.
        if (m_entry == 0 || m_startedEntry != m_entry)
            break;
        m_loaded = true;
        if (m_heldSeek)
            seek(*std::exchange(m_heldSeek, std::nullopt));
        Q_EMIT ready(duration());
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (m_entry == 0 || end->playlist_entry_id != m_entry)
            break;
        m_entry = 0;
        m_loaded = false;
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            Q_EMIT failed(sentence(m_api, end->error));
        else if (end->reason == MPV_END_FILE_REASON_EOF && !m_endSent)
            Q_EMIT ended();
        Q_EMIT stateChanged();
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto *property = static_cast<const mpv_event_property *>(event.data);
        if (property->format == MPV_FORMAT_FLAG) {
            propertyChanged(property->name, *static_cast<const int *>(property->data) != 0);
        } else if (event.reply_userdata == DeviceList && property->format == MPV_FORMAT_NODE) {
            devicesChanged(*static_cast<const mpv_node *>(property->data));
        } else if (event.reply_userdata == Device && property->format == MPV_FORMAT_STRING) {
            m_output = QString::fromUtf8(*static_cast<const char *const *>(property->data));
            Q_EMIT outputsChanged();
        }
        break;
    }
    default: break;
    }
}

void MpvAudio::propertyChanged(const char *name, bool value)
{
    const QByteArray property(name);
    if (property == "core-idle") {
        m_coreIdle = value;
        Q_EMIT stateChanged();
    } else if (property == "pause") {
        m_paused = value;
        Q_EMIT stateChanged();
        endIfDrained();
    } else if (property == "paused-for-cache") {
        m_pausedForCache = value;
        Q_EMIT stateChanged();
    } else if (property == "eof-reached") {
        m_eofReached = value;
        Q_EMIT stateChanged();
        endIfDrained();
    }
}

// mpv lists each output as a map of "name" and "description".
void MpvAudio::devicesChanged(const mpv_node &list)
{
    m_outputs.clear();
    if (list.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < list.u.list->num; ++i) {
            const mpv_node &entry = list.u.list->values[i];
            if (entry.format != MPV_FORMAT_NODE_MAP)
                continue;
            AudioOutput output;
            for (int k = 0; k < entry.u.list->num; ++k) {
                const mpv_node &value = entry.u.list->values[k];
                if (value.format != MPV_FORMAT_STRING)
                    continue;
                if (qstrcmp(entry.u.list->keys[k], "name") == 0)
                    output.name = QString::fromUtf8(value.u.string);
                else if (qstrcmp(entry.u.list->keys[k], "description") == 0)
                    output.description = QString::fromUtf8(value.u.string);
            }
            if (!output.name.isEmpty())
                m_outputs.append(output);
        }
    }
    Q_EMIT outputsChanged();
}

// "eof-reached" turns true while the last samples are still in the output; once they have
// played, keep-open pauses mpv by itself. That pause, not the flag, is the item's end.
void MpvAudio::endIfDrained()
{
    if (!m_loaded || m_endSent || !m_eofReached || !m_paused || m_pauseRequested)
        return;
    m_endSent = true;
    Q_EMIT ended();
}

void MpvAudio::load(const QUrl &url, const QMap<QString, QString> &headers, double start, bool play)
{
    m_entry = 0;
    m_loaded = false;
    m_endSent = false;
    m_heldSeek.reset();
    ++m_generation;
    if (!startCore()) {
        failLater(QStringLiteral("Audio output is not available."));
        return;
    }
    // The pause state outlives a file: each load says whether it starts playing.
    setPaused(!play);

    NodeMap options;
    if (start > 0)
        options.add("start", QString::number(start, 'f', 3));
    if (!headers.isEmpty())
        options.add("http-header-fields", headerFields(headers));
    NodeMap command;
    command.add("name", QStringLiteral("loadfile"));
    command.add("url", url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded));
    command.add("flags", QStringLiteral("replace"));
    if (!options.isEmpty())
        command.add("options", options);

    mpv_node arguments{};
    arguments.format = MPV_FORMAT_NODE_MAP;
    arguments.u.list = command.list();
    mpv_node result{};
    const int status = m_api.commandNode(m_mpv, &arguments, &result);
    if (status < 0) {
        failLater(sentence(m_api, status));
        return;
    }
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                m_entry = result.u.list->values[i].u.int64;
        }
    }
    m_api.freeNodeContents(&result);
    Q_EMIT stateChanged();
}

// Reported on the next turn, as mpv's own events are, and dropped when another load or a stop
// came first.
void MpvAudio::failLater(const QString &message)
{
    QMetaObject::invokeMethod(
        this,
        [this, message, generation = m_generation] {
            if (generation == m_generation)
                Q_EMIT failed(message);
        },
        Qt::QueuedConnection);
}

void MpvAudio::stop()
{
    ++m_generation;
    if (m_entry == 0)
        return;
    m_entry = 0;
    m_loaded = false;
    m_heldSeek.reset();
    const char *command[] = {"stop", nullptr};
    m_api.command(m_mpv, command);
    Q_EMIT stateChanged();
}

void MpvAudio::play()
{
    setPaused(false);
}

void MpvAudio::pause()
{
    setPaused(true);
}

void MpvAudio::seek(double seconds)
{
    if (m_entry == 0)
        return;
    // mpv refuses seeks until the file is loaded.
    if (!m_loaded) {
        m_heldSeek = seconds;
        return;
    }
    m_endSent = false;
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    const char *command[] = {"seek", target.constData(), "absolute+exact", nullptr};
    m_api.command(m_mpv, command);
}

void MpvAudio::setVolume(double volume)
{
    m_volume = std::clamp(volume, 0.0, 1.0);
    applyVolume();
}

void MpvAudio::applyVolume()
{
    if (!m_mpv)
        return;
    // mpv's volume scale is cubic; this keeps the user's slider linear in loudness.
    double percent = 100.0 * std::cbrt(m_volume);
    m_api.setProperty(m_mpv, "volume", MPV_FORMAT_DOUBLE, &percent);
}

void MpvAudio::listOutputs()
{
    startCore();
}

void MpvAudio::setOutput(const QString &name)
{
    // mpv takes any name without complaint and then plays nowhere.
    const bool listed = std::any_of(m_outputs.begin(), m_outputs.end(),
                                    [&name](const AudioOutput &output) { return output.name == name; });
    if (!m_mpv || !listed)
        return;
    const QByteArray value = name.toUtf8();
    m_api.setPropertyString(m_mpv, "audio-device", value.constData());
}

double MpvAudio::position() const
{
    return hasItem() ? number("time-pos") : std::numeric_limits<double>::quiet_NaN();
}

double MpvAudio::duration() const
{
    return hasItem() ? number("duration") : std::numeric_limits<double>::quiet_NaN();
}

double MpvAudio::mpvVolume() const
{
    return number("volume");
}

QString MpvAudio::headerFields(const QMap<QString, QString> &headers)
{
    QStringList fields;
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        QString field = it.key() + QStringLiteral(": ") + it.value();
        field.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char(','), QStringLiteral("\\,"));
        fields.append(field);
    }
    return fields.join(QLatin1Char(','));
}

void MpvAudio::setPaused(bool paused)
{
    if (!m_mpv)
        return;
    m_pauseRequested = paused;
    int flag = paused ? 1 : 0;
    m_api.setProperty(m_mpv, "pause", MPV_FORMAT_FLAG, &flag);
}

double MpvAudio::number(const char *name) const
{
    double value = std::numeric_limits<double>::quiet_NaN();
    if (!m_mpv || m_api.getProperty(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return std::numeric_limits<double>::quiet_NaN();
    return value;
}
