#pragma once

#include <QUrl>

// Stores a folder dialog's answer as "downloadFolder". Only a local folder is stored: a network
// place the portal offers has no local path, and storing its empty path would silently send
// downloads nowhere. Anything else changes nothing, like Cancel. True when stored.
bool storeDownloadFolder(const QUrl &folder);
