#include "RecommendText.h"

#include "music/MusicText.h"

namespace RecommendText {

QString artistKey(const QString &artist)
{
    return MusicText::trimmedSpaces(artist.toLower());
}

QString capitalized(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (const QChar c : text) {
        result.append(wordStart ? c.toUpper() : c.toLower());
        wordStart = !c.isLetter();
    }
    return result;
}

} // namespace RecommendText
