#pragma once

#include <QString>

namespace Ledgerly {

// Hands a document to the desktop's own handler for it (the "open" action).
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    // False when the desktop could not open the file.
    virtual bool openDocument(const QString &path, bool print = false) = 0;
};

// QDesktopServices: the desktop's default application for the file type. The
// desktop has no portable print action, so a print request opens the file.
class DesktopDocumentOpener : public DocumentOpener
{
public:
    bool openDocument(const QString &path, bool print = false) override;
};

} // namespace Ledgerly
