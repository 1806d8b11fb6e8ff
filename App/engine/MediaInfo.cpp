#include "MediaInfo.h"

#include <algorithm>

namespace {

bool isListedVideo(const FormatInfo &format)
{
    return format.hasVideo() && !format.note.toLower().contains(QLatin1String("storyboard")) &&
           format.ext != QLatin1String("mhtml");
}

} // namespace

QList<FormatInfo> MediaInfo::videoFormats() const
{
    QList<FormatInfo> list;
    std::copy_if(formats.cbegin(), formats.cend(), std::back_inserter(list), isListedVideo);
    std::stable_sort(list.begin(), list.end(), [](const FormatInfo &a, const FormatInfo &b) {
        const qint64 heightA = a.height.value_or(0), heightB = b.height.value_or(0);
        if (heightA != heightB)
            return heightA > heightB;
        return a.tbr.value_or(0) > b.tbr.value_or(0);
    });
    return list;
}

QList<FormatInfo> MediaInfo::audioFormats() const
{
    QList<FormatInfo> list;
    std::copy_if(formats.cbegin(), formats.cend(), std::back_inserter(list),
                 [](const FormatInfo &format) { return format.hasAudio() && !format.hasVideo(); });
    std::stable_sort(list.begin(), list.end(),
                     [](const FormatInfo &a, const FormatInfo &b) { return a.tbr.value_or(0) > b.tbr.value_or(0); });
    return list;
}

QList<qint64> MediaInfo::heights() const
{
    QList<qint64> list;
    for (const FormatInfo &format : formats) {
        if (isListedVideo(format) && format.height)
            list.append(*format.height);
    }
    std::sort(list.begin(), list.end(), std::greater<>());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}
