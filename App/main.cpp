#include "core/FreedMemory.h"
#include "platform/LaunchRequest.h"
#include "platform/SingleInstance.h"
#include "shell/MorvaneApp.h"
#include "shell/QmlSetup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    keepLargeBlocksMapped();
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.morvane.Morvane"));
    // Closing the main window hides it; the instance lives on for the next launch to show it.
    QApplication::setQuitOnLastWindowClosed(false);

    QString error;
    const LaunchRequest request = LaunchRequest::fromArguments(QApplication::arguments().mid(1), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "morvane: %s\n", qPrintable(error));
        return 2;
    }

    SingleInstance instance;
    switch (instance.claim(request)) {
    case SingleInstance::Role::Forwarded: return 0;
    case SingleInstance::Role::Failed: std::fprintf(stderr, "morvane: %s\n", qPrintable(instance.error())); return 1;
    case SingleInstance::Role::Primary: break;
    }

    QmlSetup::prepareApplication();
    MorvaneApp morvane;
    if (!morvane.start())
        return 1;
    instance.setHandler([&morvane](const LaunchRequest &launch) { morvane.shell().handle(launch); });
    return QApplication::exec();
}
