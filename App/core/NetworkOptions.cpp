#include "NetworkOptions.h"

#include "Json.h"

QJsonObject NetworkOptions::toJson() const
{
    return {
        {QStringLiteral("cookiesBrowser"), cookiesBrowser},
        {QStringLiteral("userAgent"), userAgent},
        {QStringLiteral("proxy"), proxy},
        {QStringLiteral("rateLimit"), rateLimit},
        {QStringLiteral("retries"), retries},
        {QStringLiteral("fragments"), fragments},
        {QStringLiteral("timeout"), timeout},
        {QStringLiteral("extraArgs"), extraArgs},
    };
}

std::optional<NetworkOptions> NetworkOptions::fromJson(const QJsonObject &object, QString *error)
{
    Json::Reader read(object);
    NetworkOptions options;
    options.cookiesBrowser = read.string(QStringLiteral("cookiesBrowser"));
    options.userAgent = read.string(QStringLiteral("userAgent"));
    options.proxy = read.string(QStringLiteral("proxy"));
    options.rateLimit = read.string(QStringLiteral("rateLimit"));
    options.retries = read.integer(QStringLiteral("retries"));
    options.fragments = read.integer(QStringLiteral("fragments"));
    options.timeout = read.integer(QStringLiteral("timeout"));
    options.extraArgs = read.string(QStringLiteral("extraArgs"));
    return read.result(std::move(options), error);
}
