#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <optional>

// Equal texts decoded from a file share one copy: a long history or queue repeats the same
// folders, formats, names and links thousands of times, and a copy read from JSON is a string of
// its own each time. One pool serves one reading; not thread-safe.
class StringPool
{
public:
    // Fresh: texts already shared by a Shared pool get one new copy each, so texts made
    // elsewhere (another thread's heap, say) stop being used once every holder has been shared.
    // A copy is found by the storage it replaces, with no text compared. The texts replaced are
    // kept until the pool goes: freed one by one, each block would go to this thread's allocation
    // cache and come straight back for the next copy, on the very page it was to leave.
    enum class Storage { Shared, Fresh };

    explicit StringPool(Storage storage = Storage::Shared);

    // Makes `text` the copy already pooled when there is an equal one (Fresh: one of the same
    // storage), else pools it.
    void share(QString &text);
    void share(std::optional<QString> &text);

private:
    Storage m_storage;
    QSet<QString> m_texts;
    struct Copy
    {
        QString replaced;
        QString copy;
    };
    QHash<std::pair<const QChar *, qsizetype>, Copy> m_copies;
};
