#pragma once

#include "database/HotSyncHome.h"

#include <QStringList>

// Writes a HotSync home in folder with these users, each in a folder of its
// own; the first is the current user. An empty list leaves a home without users.
inline void createHotSyncHome(const QString &folder, const QStringList &users)
{
    Ledgerly::HotSyncHome home(folder);
    home.create(users.isEmpty() ? QStringLiteral("placeholder") : users.first());
    for (const QString &name : users.mid(1))
        home.users.append({name, home.folderNameFor(name), false});
    if (users.isEmpty())
        home.users.clear();
    home.save();
}
