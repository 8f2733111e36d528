#pragma once

#include <QString>

namespace Ledgerly::ProgramFiles {

// The program's own files, which lie in the program folder under fixed names.
inline QString schemaFileName()
{
    return QStringLiteral("QuayDB.ini");
}
inline QString settingsFileName()
{
    return QStringLiteral("Ledgerly.ini");
}
inline QString schemaFile(const QString &programFolder)
{
    return programFolder + QLatin1Char('/') + schemaFileName();
}
inline QString settingsFile(const QString &programFolder)
{
    return programFolder + QLatin1Char('/') + settingsFileName();
}

} // namespace Ledgerly::ProgramFiles
