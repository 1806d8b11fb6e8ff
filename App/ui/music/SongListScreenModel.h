#pragma once

#include "TrackListModel.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class AppState;

// The screen of a titled song list: its header (cover, title, the count line), the Play, Shuffle
// and Download buttons and the rows. Each source (liked, recent, downloaded, a playlist) says what
// the list holds and when to read it again; the rows then change by row edits.
class SongListScreenModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title NOTIFY headerChanged)
    // The subtitle, if any, and the song count: "Available offline · 12 songs".
    Q_PROPERTY(QString detail READ detail NOTIFY headerChanged)
    Q_PROPERTY(QString symbol READ symbol CONSTANT)
    Q_PROPERTY(QString emptyMessage READ emptyMessage CONSTANT)
    // No songs: the symbol stands for the cover, the buttons are off and the message shows.
    Q_PROPERTY(bool empty READ empty NOTIFY headerChanged)
    // The first song's thumbnail links, for the cover.
    Q_PROPERTY(QList<QUrl> cover READ cover NOTIFY headerChanged)
    Q_PROPERTY(TrackListModel *tracks READ tracks CONSTANT)

public:
    [[nodiscard]] virtual QString title() const = 0;
    [[nodiscard]] QString detail() const;
    [[nodiscard]] QString symbol() const { return m_symbol; }
    [[nodiscard]] QString emptyMessage() const { return m_emptyMessage; }
    [[nodiscard]] bool empty() const { return m_tracks.rowCount() == 0; }
    [[nodiscard]] QList<QUrl> cover() const;
    [[nodiscard]] TrackListModel *tracks() { return &m_tracks; }

    Q_INVOKABLE void play();
    Q_INVOKABLE void shuffle();
    // Queues every song into the list's folder of the music folder.
    Q_INVOKABLE void download();

Q_SIGNALS:
    void headerChanged();

protected:
    SongListScreenModel(AppState *state, QString symbol, QString emptyMessage, QObject *parent);

    // Reads the list again from its source and shows what changed.
    void reload();
    [[nodiscard]] virtual QList<Track> read() const = 0;
    [[nodiscard]] virtual QString subtitle() const { return {}; }
    // The sub-folder of the music folder that Download files the songs in.
    [[nodiscard]] virtual QString downloadFolder() const { return title(); }

    AppState *m_state;

private:
    QString m_symbol;
    QString m_emptyMessage;
    TrackListModel m_tracks;
};
