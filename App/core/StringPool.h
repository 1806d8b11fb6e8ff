#pragma once

#include <QSet>
#include <QString>

#include <optional>

// Equal texts decoded from a file share one copy: a long history or queue repeats the same
// folders, formats, names and links thousands of times, and a copy read from JSON is a string of
// its own each time. One pool serves one reading; not thread-safe.
class StringPool
{
public:
    // Fresh: the first of each text is pooled as a new copy, so texts made elsewhere (another
    // thread's heap, say) stop being used once every holder has been shared.
    enum class Storage { Shared, Fresh };

    explicit StringPool(Storage storage = Storage::Shared);

    // Makes `text` the copy already pooled when there is an equal one, else pools it.
    void share(QString &text);
    void share(std::optional<QString> &text);

private:
    Storage m_storage;
    QSet<QString> m_texts;
};
