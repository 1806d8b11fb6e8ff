#include "MusicText.h"

#include <QTextBoundaryFinder>

namespace MusicText {

int characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

namespace {

bool isSpace(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

} // namespace

QString trimmedSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text.at(begin)))
        ++begin;
    while (end > begin && isSpace(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString cleanArtist(const QString &name)
{
    static const QString suffixes[] = {QStringLiteral(" - Topic"), QStringLiteral("VEVO"), QStringLiteral("Vevo"),
                                       QStringLiteral(" - Official"), QStringLiteral(" Official")};
    QString result = name.trimmed();
    for (const QString &suffix : suffixes) {
        if (result.endsWith(suffix) && characterCount(result) > characterCount(suffix))
            result = trimmedSpaces(result.chopped(suffix.size()));
    }
    return result;
}

std::optional<QString> detectGenre(const QStringList &strings)
{
    // Substring tests in this order, so "k-pop" wins over "pop", "trap" over "rap" and
    // "reggaeton" over "reggae".
    static const QString keywords[] = {
        QStringLiteral("k-pop"),      QStringLiteral("hip hop"),    QStringLiteral("trap"),
        QStringLiteral("rap"),        QStringLiteral("r&b"),        QStringLiteral("pop"),
        QStringLiteral("rock"),       QStringLiteral("jazz"),       QStringLiteral("classical"),
        QStringLiteral("electronic"), QStringLiteral("edm"),        QStringLiteral("house"),
        QStringLiteral("techno"),     QStringLiteral("country"),    QStringLiteral("metal"),
        QStringLiteral("indie"),      QStringLiteral("lofi"),       QStringLiteral("lo-fi"),
        QStringLiteral("reggaeton"),  QStringLiteral("reggae"),     QStringLiteral("latin"),
        QStringLiteral("soul"),       QStringLiteral("blues"),      QStringLiteral("folk"),
        QStringLiteral("punk"),       QStringLiteral("ambient"),    QStringLiteral("funk"),
        QStringLiteral("disco"),      QStringLiteral("dance"),      QStringLiteral("alternative"),
        QStringLiteral("gospel"),     QStringLiteral("soundtrack"),
    };
    for (const QString &candidate : strings) {
        const QString lower = candidate.toLower();
        for (const QString &keyword : keywords) {
            if (lower.contains(keyword))
                return keyword == QLatin1String("lo-fi") ? QStringLiteral("lofi") : keyword;
        }
    }
    return std::nullopt;
}

} // namespace MusicText
