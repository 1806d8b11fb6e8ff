#include "LibraryData.h"

#include "core/Json.h"
#include "core/StringPool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtConcurrent>

// The three big collections (plays, playlists, catalog) are encoded and decoded side by side on
// the thread pool: a library at its size limits takes half the time that way.

namespace {

const QString likesKey = QStringLiteral("likes");
const QString playsKey = QStringLiteral("plays");
const QString searchesKey = QStringLiteral("searches");
const QString playlistsKey = QStringLiteral("playlists");
const QString catalogKey = QStringLiteral("catalog");
const QString downloadsKey = QStringLiteral("downloads");
const QString discoveriesKey = QStringLiteral("discoveries");
const QString shownKey = QStringLiteral("shown");

template<typename Container> QByteArray compact(const Container &container)
{
    return QJsonDocument(container).toJson(QJsonDocument::Compact);
}

template<typename Record> QByteArray encodeRecords(const QList<Record> &records)
{
    QJsonArray array;
    for (const Record &record : records)
        array.append(record.toJson());
    return compact(array);
}

QByteArray encodeCatalog(const QHash<QString, Track> &catalog)
{
    QJsonObject object;
    for (auto it = catalog.cbegin(); it != catalog.cend(); ++it)
        object.insert(it.key(), it.value().toJson());
    return compact(object);
}

template<typename Value> QByteArray encodeMap(const QHash<QString, Value> &map)
{
    QJsonObject object;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        object.insert(it.key(), it.value());
    return compact(object);
}

// A decoded collection, or the reason it could not be decoded.
template<typename Value> struct Decoded
{
    Value value;
    QString error;
};

template<typename Record> Decoded<QList<Record>> decodeRecords(const QJsonArray &array, const QString &key)
{
    QList<Record> records;
    records.reserve(array.size());
    for (const QJsonValue &element : array) {
        QString error = QStringLiteral("not an object");
        const auto record = element.isObject() ? Record::fromJson(element.toObject(), &error) : std::nullopt;
        if (!record)
            return {{}, QStringLiteral("element %1 of \"%2\": %3").arg(records.size()).arg(key, error)};
        records.append(*record);
    }
    return {records, {}};
}

Decoded<QHash<QString, Track>> decodeCatalog(const QJsonObject &object)
{
    QHash<QString, Track> catalog;
    catalog.reserve(object.size());
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        QString error = QStringLiteral("not an object");
        auto track = it->isObject() ? Track::fromJson(it->toObject(), &error) : std::nullopt;
        if (!track)
            return {{}, QStringLiteral("catalog entry \"%1\": %2").arg(it.key(), error)};
        // The key is the track's id: one copy serves both.
        catalog.insert(it.key() == track->id ? track->id : it.key(), *track);
    }
    return {catalog, {}};
}

// The maps of plain values are read key by key, as the fields of a record would be.
template<typename Value, typename Read>
Decoded<QHash<QString, Value>> decodeMap(const QJsonObject &object, const QString &key, Read read)
{
    Json::Reader reader(object);
    QHash<QString, Value> map;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        map.insert(it.key(), (reader.*read)(it.key()));
    if (!reader.ok())
        return {{}, QStringLiteral("\"%1\": %2").arg(key, reader.error())};
    return {map, {}};
}

// A key cannot be changed in place: the hash is built again around the shared ones.
template<typename Value, typename ShareValue>
QHash<QString, Value> sharedHash(const QHash<QString, Value> &map, StringPool &pool, ShareValue shareValue)
{
    QHash<QString, Value> shared;
    shared.reserve(map.size());
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QString key = it.key();
        Value value = it.value();
        pool.share(key);
        shareValue(value);
        shared.insert(key, std::move(value));
    }
    return shared;
}

} // namespace

void LibraryData::shareTexts(StringPool &pool)
{
    // The catalogue's keys are its tracks' ids, so they are shared first.
    catalog = sharedHash(catalog, pool, [&pool](Track &track) { track.shareTexts(pool); });
    for (Playlist &playlist : playlists) {
        pool.share(playlist.name);
        pool.share(playlist.sourceURL);
        for (Track &track : playlist.tracks) {
            // Most are a catalogue track as it is: taking that one shares every text in one look-up.
            const auto known = catalog.constFind(track.id);
            if (known != catalog.cend() && *known == track)
                track = *known;
            else
                track.shareTexts(pool);
        }
    }
    for (PlayEvent &play : plays)
        pool.share(play.trackID);
    for (QStringList *texts : {&likes, &searches}) {
        for (QString &text : *texts)
            pool.share(text);
    }
    for (Discovery &discovery : discoveries) {
        pool.share(discovery.key);
        pool.share(discovery.label);
        for (QString &id : discovery.ids)
            pool.share(id);
    }
    downloads = sharedHash(downloads, pool, [&pool](QString &path) { pool.share(path); });
    shown = sharedHash(shown, pool, [](qint64 &) {});
}

QByteArray LibraryData::toJson() const
{
    QFuture<QByteArray> playsText = QtConcurrent::run(&encodeRecords<PlayEvent>, plays);
    QFuture<QByteArray> playlistsText = QtConcurrent::run(&encodeRecords<Playlist>, playlists);
    const QByteArray catalogText = encodeCatalog(catalog);

    // The keys need no escaping, so the pieces are joined as they are.
    auto member = [](const QString &key, const QByteArray &value) { return '"' + key.toLatin1() + "\":" + value; };
    const QByteArrayList members{
        member(likesKey, compact(QJsonArray::fromStringList(likes))),
        member(playsKey, playsText.result()),
        member(searchesKey, compact(QJsonArray::fromStringList(searches))),
        member(playlistsKey, playlistsText.result()),
        member(catalogKey, catalogText),
        member(downloadsKey, encodeMap(downloads)),
        member(discoveriesKey, encodeRecords(discoveries)),
        member(shownKey, encodeMap(shown)),
    };
    return '{' + members.join(',') + '}';
}

std::optional<LibraryData> LibraryData::fromJson(const QByteArray &bytes, QString *error)
{
    auto failed = [error](const QString &reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const auto root = Json::parseObject(bytes);
    if (!root)
        return failed(QStringLiteral("not a JSON object"));

    // Every key must be there with the right type before any record is looked at.
    Json::Reader read(*root);
    LibraryData data;
    data.likes = read.stringList(likesKey);
    const QJsonArray playsArray = read.array(playsKey);
    data.searches = read.stringList(searchesKey);
    const QJsonArray playlistsArray = read.array(playlistsKey);
    const QJsonObject catalogObject = read.object(catalogKey);
    const QJsonObject downloadsObject = read.object(downloadsKey);
    const QJsonArray discoveriesArray = read.array(discoveriesKey);
    const QJsonObject shownObject = read.object(shownKey);
    if (!read.ok())
        return failed(read.error());

    QFuture<Decoded<QList<PlayEvent>>> playsFuture = QtConcurrent::run(&decodeRecords<PlayEvent>, playsArray, playsKey);
    QFuture<Decoded<QList<Playlist>>> playlistsFuture =
        QtConcurrent::run(&decodeRecords<Playlist>, playlistsArray, playlistsKey);
    auto catalog = decodeCatalog(catalogObject);
    auto downloads = decodeMap<QString>(downloadsObject, downloadsKey, &Json::Reader::string);
    auto shown = decodeMap<qint64>(shownObject, shownKey, &Json::Reader::integer);
    auto discoveries = decodeRecords<Discovery>(discoveriesArray, discoveriesKey);
    auto decodedPlays = playsFuture.takeResult();
    auto decodedPlaylists = playlistsFuture.takeResult();

    for (const QString &reason :
         {decodedPlays.error, decodedPlaylists.error, catalog.error, downloads.error, discoveries.error, shown.error}) {
        if (!reason.isEmpty())
            return failed(reason);
    }
    data.plays = std::move(decodedPlays.value);
    data.playlists = std::move(decodedPlaylists.value);
    data.catalog = std::move(catalog.value);
    data.downloads = std::move(downloads.value);
    data.discoveries = std::move(discoveries.value);
    data.shown = std::move(shown.value);
    // A long catalogue names the same artists, albums and genres over and over, and playlists and
    // plays name tracks it holds: one copy of each text serves them all.
    StringPool pool;
    data.shareTexts(pool);
    return data;
}
