#include "FormatInfo.h"

#include "core/Json.h"
#include "core/TextHelpers.h"

#include <QStringList>

namespace {

bool isRealCodec(const QString &codec)
{
    return !codec.isEmpty() && codec != QLatin1String("none");
}

// "avc1.640028" -> "avc1"; only the family name fits in a picker line.
QString shortCodec(const QString &codec)
{
    const QStringList pieces = codec.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    return pieces.isEmpty() ? QString() : pieces.first();
}

} // namespace

bool FormatInfo::hasVideo() const
{
    return isRealCodec(vcodec);
}

bool FormatInfo::hasAudio() const
{
    return isRealCodec(acodec);
}

QString FormatInfo::label() const
{
    QStringList parts{id, ext};
    if (height) {
        QString resolution = QString::number(*height) + QLatin1Char('p');
        // A frame rate too large for a whole number is left out rather than shown wrong.
        if (fps && *fps > 30) {
            if (const auto whole = Json::truncated(*fps))
                resolution += QString::number(*whole);
        }
        parts.append(resolution);
    }
    if (hasVideo())
        parts.append(shortCodec(vcodec));
    if (hasAudio())
        parts.append(shortCodec(acodec));
    if (tbr && !hasVideo()) {
        if (const auto whole = Json::truncated(*tbr))
            parts.append(QString::number(*whole) + QStringLiteral(" kbps"));
    }
    if (filesize)
        parts.append(formatByteCount(*filesize));
    if (!note.isEmpty())
        parts.append(note);
    return parts.join(QStringLiteral(" \u00b7 "));
}
