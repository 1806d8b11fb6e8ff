#pragma once

#include "player/MusicCatalog.h"

#include <QHash>
#include <QStringList>

#include <chrono>

// A music catalogue without the video site: every song resolves to "http://127.0.0.1:9/<id>"
// unless the test set another answer, after `delay` when one is set.
class FakeCatalog final : public MusicCatalog
{
public:
    QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel) override;

    QHash<QString, MusicResult<StreamInfo>> answers;
    std::chrono::milliseconds delay{0};
    QStringList resolved; // "<id>#<attempt>" per call, in order
};
