#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

// Showing files to the user: a file-manager window with a file selected, and files, folders and
// links opened with the desktop's default application. Created once by the coordinator and
// handed to the screens; tests put a recorder in its place.
class DesktopServices : public QObject
{
    Q_OBJECT

public:
    explicit DesktopServices(QObject *parent = nullptr);

    // Asks the file manager on the session bus (org.freedesktop.FileManager1) to show the file
    // selected, without waiting for its answer. When no file manager answers, the folder holding
    // the file is opened instead. The file need not exist.
    virtual void reveal(const QString &path);
    // Asks the file manager to show the folder itself (ShowFolders), opening it with the default
    // application when no file manager answers.
    virtual void revealFolder(const QString &path);
    // Opens a file, a folder or a link with the desktop's default application.
    virtual void openUrl(const QUrl &url);

    // openUrl() of a local path.
    void openPath(const QString &path);

private:
    // Calls `method` of the file manager with `path`, without waiting; opens `fallback` when the
    // bus or the file manager is missing.
    void askFileManager(const QString &method, const QString &path, const QUrl &fallback);
};
