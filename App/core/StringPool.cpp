#include "StringPool.h"

StringPool::StringPool(Storage storage)
    : m_storage(storage)
{}

void StringPool::share(QString &text)
{
    if (text.isEmpty())
        return;
    const auto found = m_texts.constFind(text);
    if (found != m_texts.cend())
        text = *found;
    else if (m_storage == Storage::Fresh)
        m_texts.insert(text = QString(text.constData(), text.size()));
    else
        m_texts.insert(text);
}

void StringPool::share(std::optional<QString> &text)
{
    if (text)
        share(*text);
}
