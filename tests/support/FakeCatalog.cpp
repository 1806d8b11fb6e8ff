#include "FakeCatalog.h"

#include <QCoroTimer>

QCoro::Task<MusicResult<StreamInfo>> FakeCatalog::resolve(Track track, int attempt, CancelToken)
{
    resolved.append(track.id + QLatin1Char('#') + QString::number(attempt));
    const MusicResult<StreamInfo> answer = answers.value(
        track.id,
        StreamInfo{QUrl(QStringLiteral("http://127.0.0.1:9/") + track.id), {}, track, QDateTime::currentDateTimeUtc()});
    if (delay.count() > 0)
        co_await QCoro::sleepFor(delay);
    co_return answer;
}
