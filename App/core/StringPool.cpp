#include "StringPool.h"

void StringPool::share(QString &text)
{
    if (text.isEmpty())
        return;
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
