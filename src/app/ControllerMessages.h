#pragma once

#include <QString>

namespace Ledgerly {

// The texts the main window's procedures show, kept in one place so their
// exact wording and line breaks are tested once.
namespace ControllerMessages {
QString saveChanges();
QString damaged(const QString &path, const QString &appName);
QString missing(const QString &path);
QString clear(const QString &appName);
QString unsafeSection(const QString &section);
QString noUserFolder(const QString &user, const QString &reason);
QString loadFailed(const QString &path, int number, const QString &reason);
QString saveFailed(const QString &path, int number, const QString &reason);
// The schema file is not there, or cannot be read (reason says why).
QString schemaUnreadable(const QString &path, const QString &reason);
QString exportUnsaved();
} // namespace ControllerMessages

} // namespace Ledgerly
