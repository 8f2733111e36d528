// libFuzzer target for the schema editor's text model: any file it takes
// must write back byte for byte, the reader's document made from it must
// hold, and the schema checks must run on it without crashing.
#include "catalogue/IniDocument.h"
#include "catalogue/IniFile.h"
#include "catalogue/IniText.h"
#include "catalogue/SchemaCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace Ledgerly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    IniText text;
    QString problem;
    if (!IniText::fromBytes(bytes, &text, &problem))
        return 0; // refused with a reason, as the editor shows it
    QByteArray again;
    if (!text.toBytes(&again, &problem) || again != bytes)
        std::abort();
    checkSchemaFile(text);
    // The editor's text is read by the reader's own code: its sections are
    // the ones the reader lists.
    const QStringList sections = listIniSections(text.document());
    if (text.document().sectionNames().mid(0, sections.size()) != sections)
        std::abort();
    return 0;
}
