#include "StringPool.h"

StringPool::StringPool(Storage storage)
    : m_storage(storage)
{}

void StringPool::share(QString &text)
{
    if (text.isEmpty())
        return;
    if (m_storage == Storage::Fresh) {
        Copy &fresh = m_copies[{text.constData(), text.size()}];
        if (fresh.copy.isNull())
            fresh = {text, QString(text.constData(), text.size())};
        text = fresh.copy;
        return;
    }
    const auto found = m_texts.constFind(text);
    if (found != m_texts.cend())
        text = *found;
    else
        m_texts.insert(text);
}

void StringPool::share(std::optional<QString> &text)
{
    if (text)
        share(*text);
}
