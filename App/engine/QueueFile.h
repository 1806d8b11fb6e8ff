#pragma once

#include "engine/TaskRecord.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>

// "queue.json": the stored form of the download queue, so the queue survives a restart. Main
// thread only.
//
// The file is rewritten whole whenever the queue asks. Saves asked for while handling one event
// are written together when control returns to the event loop, so a burst of changes (a thousand
// links queued at once) costs one write; that write encodes and stores a copy of the records on a
// thread of its own, so a long queue never stalls the window. save() writes at once, after any
// write still on its way.
class QueueFile final : public QObject
{
public:
    // Gives the records to store, in queue order.
    using Records = std::function<QList<TaskRecord>()>;

    explicit QueueFile(Records records);
    // Waits for the writes handed over; the owner writes a save still due with close() first.
    ~QueueFile() override;

    [[nodiscard]] static QString path();
    // The stored records in order; none when there is no file. An unreadable file (one bad record
    // is enough) is moved aside, kept for the user instead of being saved over, and gives none.
    [[nodiscard]] static QList<TaskRecord> read();

    // Asks for a save once control returns to the event loop.
    void scheduleSave();
    // Writes now, once the writes handed over are done.
    void save();
    // Writes a save still due, waits for the writer, and writes nothing from here on.
    void close();

private:
    // Hands the records as they are now to m_writer; when that write is done, a save asked for
    // meanwhile starts the next.
    void startWrite();

    Records m_records;
    bool m_closed = false;
    bool m_savePending = false;
    // A write is with m_writer: saves asked for meanwhile wait for it and become one, so a burst
    // of changes never piles up writes of stale copies behind it.
    bool m_writing = false;
    // One thread, so queue files are written in the order they were handed over.
    QThreadPool m_writer;
};
