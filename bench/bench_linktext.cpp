// Link detection on hostile text, as any door (arguments, D-Bus, paste, drop) hands it to the
// main thread: a link followed by 1 000 000 ")", one 400 000-character host-like token before a
// link, and 20 000 links in prose. Prints the wall time of each `extractURLs` call and the links
// it found. Build with `cmake --build build --target benchmarks`.
#include "core/TextHelpers.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

void measure(const char *what, const QString &text)
{
    QElapsedTimer clock;
    clock.start();
    const qsizetype found = extractURLs(text).size();
    std::printf("%s (%lld characters): %lld ms, %lld links\n", what, qint64(text.size()), clock.elapsed(),
                qint64(found));
}

} // namespace

int main()
{
    measure("1 000 000 \")\" after a link", QStringLiteral("https://a.b/") + QStringLiteral(")").repeated(1000000));
    measure("400 000-character host-like token, then a link",
            QStringLiteral("a.").repeated(200000) + QStringLiteral(" https://a.b/1"));
    QString prose;
    for (int i = 0; i < 20000; ++i)
        prose += QStringLiteral("Part %1 (see https://media.example/clips/%1.mp4), then www.a.b/%1.\n").arg(i);
    measure("20 000 links in prose", prose);
    return 0;
}
