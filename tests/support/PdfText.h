#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

// The text of a PDF file as pdftotext (Debian poppler-utils) reads it; empty
// when it cannot be read. layout: the text of each line of a page as it lies
// on the page, so that the cells of a table row stay on one line; pages end
// in a form feed.
inline QString pdfText(const QString &path, bool layout = false)
{
    QProcess process;
    QStringList args{path, QStringLiteral("-")};
    if (layout)
        args.prepend(QStringLiteral("-layout"));
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")), args);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}
