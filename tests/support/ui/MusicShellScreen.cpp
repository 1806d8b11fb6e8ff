#include "MusicShellScreen.h"

#include "ui/music/ArtworkProvider.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

MusicShellScreen::MusicShellScreen(QSize size, const QByteArray &library)
    : rig(library)
{
    ArtworkProvider::install(harness.engine(), rig.state->artwork());
    const QUrl page = QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/MusicShellPage.qml"));
    window = qobject_cast<QQuickWindow *>(
        harness.create(page, {{QStringLiteral("model"), QVariant::fromValue(&model)},
                              {QStringLiteral("queue"), QVariant::fromValue(&queue)},
                              {QStringLiteral("download"), QVariant::fromValue(&download)},
                              {QStringLiteral("logSheet"), QVariant::fromValue(&logSheet)},
                              {QStringLiteral("history"), QVariant::fromValue(&history)},
                              {QStringLiteral("music"), QVariant::fromValue(&music)},
                              {QStringLiteral("tools"), QVariant::fromValue(&tools)},
                              {QStringLiteral("diagnostics"), QVariant::fromValue(&diagnostics)},
                              {QStringLiteral("width"), size.width()},
                              {QStringLiteral("height"), size.height()}}));
}

QQuickItem *MusicShellScreen::item(const QString &objectName) const
{
    return window ? QmlHarness::findItem(window->contentItem(), objectName) : nullptr;
}

QRectF MusicShellScreen::sceneRect(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

void MusicShellScreen::click(const QQuickItem *item) const
{
    QTest::mouseClick(window, Qt::LeftButton, {}, sceneRect(item).center().toPoint());
}

void MusicShellScreen::type(const QString &text) const
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}
