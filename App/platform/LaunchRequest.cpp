#include "LaunchRequest.h"

#include <QCommandLineParser>

LaunchRequest LaunchRequest::fromArguments(const QStringList &arguments, QString *error)
{
    const QCommandLineOption text(QStringLiteral("receive-text"), QStringLiteral("Take TEXT as a link to download."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption selection(QStringLiteral("receive-selection"),
                                       QStringLiteral("Take the selected text (else the clipboard) as a link."));
    const QCommandLineOption clipboard(QStringLiteral("receive-clipboard"),
                                       QStringLiteral("Take the clipboard's text as a link."));
    QCommandLineParser parser;
    parser.addOptions({text, selection, clipboard});
    parser.addPositionalArgument(QStringLiteral("urls"), QStringLiteral("Links to open."), QStringLiteral("[URL...]"));

    LaunchRequest request;
    if (!parser.parse(QStringList{QStringLiteral("morvane")} + arguments)) {
        *error = parser.errorText();
        return request;
    }
    if (parser.isSet(text)) {
        request.kind = Kind::Action;
        request.action = text.names().constFirst();
        request.text = parser.value(text);
    } else if (parser.isSet(selection) || parser.isSet(clipboard)) {
        request.kind = Kind::Action;
        request.action = (parser.isSet(selection) ? selection : clipboard).names().constFirst();
    } else if (!parser.positionalArguments().isEmpty()) {
        request.kind = Kind::Open;
        request.uris = parser.positionalArguments();
    }
    return request;
}
