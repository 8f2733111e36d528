#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

// The text of a PDF file as pdftotext (Debian poppler-utils) reads it; empty
// when it cannot be read.
inline QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  {path, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}
