#pragma once

// The program folder copy and the demo HotSync home that the build writes
// beside the test programs, for tests that go through every demo database.

#include "TestFiles.h"
#include "catalogue/IniFile.h"

#include <QTest>

// One row per section of the program folder's schema, in a "section" column.
// Without that schema a single row with an empty section lets the test skip.
inline void addDemoSectionRows()
{
    QTest::addColumn<QString>("section");
    const QStringList sections =
        Ledgerly::ListIniSections(QStringLiteral(LEDGERLY_BIN_DIR "/QuayDB.ini"));
    if (sections.isEmpty())
        QTest::newRow("no program folder schema") << QString();
    for (const QString &s : sections)
        QTest::newRow(qPrintable(s)) << s;
}

// The demo HotSync home as an absolute path; empty when the build has not
// generated it.
inline QString demoHotSyncHome()
{
    const QString demo = QStringLiteral(LEDGERLY_BIN_DIR "/../demo-hotsync");
    return QFileInfo(demo).isDir() ? QDir(demo).absolutePath() : QString();
}
