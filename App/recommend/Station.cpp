#include "Station.h"

size_t qHash(const Station &station, size_t seed)
{
    return qHashMulti(seed, station.id, station.title, station.subtitle, station.seed, station.query.has_value(),
                      station.query.value_or(QString()));
}
