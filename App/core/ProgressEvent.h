#pragma once

#include <QString>

#include <optional>
#include <variant>

// One line of yt-dlp output, as understood by the progress parser.
struct ProgressEvent
{
    // A progress marker: bytes so far, the total (exact, else estimated), speed and time left.
    struct Progress
    {
        qint64 downloaded = 0;
        std::optional<qint64> total;
        std::optional<double> speed; // bytes per second
        std::optional<int> eta;      // seconds
        QString filename;
        bool operator==(const Progress &) const = default;
    };
    // A post-processor changed state ("started", "finished").
    struct Postprocess
    {
        QString name;
        QString status;
        bool operator==(const Postprocess &) const = default;
    };
    // A playlist item is about to be downloaded (1 of 1 for a single video).
    struct Item
    {
        int index = 1;
        int count = 1;
        QString title;
        bool operator==(const Item &) const = default;
    };
    // The file an item is about to be downloaded into, and the format it is made of: format ids
    // joined by "+" when yt-dlp fetches streams to merge. yt-dlp waits after it when told to.
    struct Target
    {
        QString format;
        QString path;
        bool operator==(const Target &) const = default;
    };
    // The final path of a finished file.
    struct FinalFile
    {
        QString path;
        bool operator==(const FinalFile &) const = default;
    };
    // A path yt-dlp is about to write.
    struct Destination
    {
        QString path;
        bool operator==(const Destination &) const = default;
    };
    // The output path of a merge of separate streams.
    struct Merging
    {
        QString path;
        bool operator==(const Merging &) const = default;
    };
    struct Error
    {
        QString message;
        bool operator==(const Error &) const = default;
    };
    struct Warning
    {
        QString message;
        bool operator==(const Warning &) const = default;
    };
    // Any other line, whole.
    struct Info
    {
        QString line;
        bool operator==(const Info &) const = default;
    };

    using Value =
        std::variant<Progress, Postprocess, Item, Target, FinalFile, Destination, Merging, Error, Warning, Info>;
    Value value;

    bool operator==(const ProgressEvent &) const = default;

    // The payload when the event is of kind T, else null: `if (auto *p =
    // event.as<ProgressEvent::Progress>())`.
    template<typename T> [[nodiscard]] const T *as() const { return std::get_if<T>(&value); }
};
