#include "ControllerMessages.h"

namespace Ledgerly::ControllerMessages {

namespace {
const QString crlf = QStringLiteral("\r\n");
const QString cr = QStringLiteral("\r");
} // namespace

QString saveChanges()
{
    return QStringLiteral("Database edited.  Do you want to save?");
}

QString damaged(const QString &path, const QString &appName)
{
    return QStringLiteral("Error 13: The Database ") + path + crlf + crlf +
           QStringLiteral(" is corrupted or not a ") + appName + QStringLiteral(" database !") +
           crlf + crlf + QStringLiteral("Please Replace the database from a backup.") + crlf;
}

QString missing(const QString &path)
{
    return QStringLiteral("The Database ") + path + crlf + crlf +
           QStringLiteral(" Does not exist ! ") + crlf + crlf +
           QStringLiteral(" Please Install or Replace the database") + crlf + crlf +
           QStringLiteral("The Desktop will attempt to create the database !") + crlf + crlf +
           QStringLiteral("Select another Database in the List and then reselect This database");
}

QString clear(const QString &appName)
{
    return QStringLiteral("You are about to clear ALL of the Data From This ") + appName +
           QStringLiteral(" Database ") + cr + cr + QStringLiteral(" ") + cr + cr +
           QStringLiteral("Are you sure this is what you want to do? ") + cr + cr +
           QStringLiteral(" ") + cr;
}

QString unsafeSection(const QString &section)
{
    return QStringLiteral("The database section \"") + section +
           QStringLiteral("\" of QuayDB.ini is not a valid file name.") + crlf + crlf +
           QStringLiteral("It is not opened, so that nothing outside the Palm user's folder "
                          "is read or written.");
}

QString noUserFolder(const QString &user, const QString &reason)
{
    return QStringLiteral("The HotSync folder of the Palm user \"") + user +
           QStringLiteral("\" cannot be found.") + crlf + crlf + reason;
}

QString loadFailed(const QString &path, int number, const QString &reason)
{
    return QStringLiteral("Error ") + QString::number(number) + QStringLiteral(": The Database ") +
           path + QStringLiteral(" could not be loaded.") + crlf + crlf + reason;
}

QString schemaUnreadable(const QString &path, const QString &reason)
{
    return QStringLiteral("The list of databases cannot be read from ") + path +
           QStringLiteral(".") + crlf + crlf + reason + crlf + crlf +
           QStringLiteral("No database can be opened until the file is there and readable.");
}

QString exportUnsaved()
{
    return QStringLiteral("The table has unsaved changes. Save them before exporting?");
}

QString saveFailed(const QString &path, int number, const QString &reason)
{
    return QStringLiteral("Error ") + QString::number(number) + QStringLiteral(": The Database ") +
           path + QStringLiteral(" could not be saved.") + crlf + crlf + reason + crlf + crlf +
           QStringLiteral("The file on disk was not changed; your changes are still in the "
                          "table.");
}

} // namespace Ledgerly::ControllerMessages
