#include "PercentText.h"

#include <algorithm>
#include <cmath>

int wholePercent(double fraction)
{
    if (!std::isfinite(fraction))
        return 0;
    return int(std::floor(std::clamp(fraction, 0.0, 1.0) * 100 + 1e-9));
}

QString percentText(double fraction)
{
    return QString::number(wholePercent(fraction)) + QLatin1Char('%');
}
