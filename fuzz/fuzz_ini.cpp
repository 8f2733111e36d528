// libFuzzer target for the INI reader: any bytes must list and read without
// crashing, and every listed name must read back within the buffer limits.
// Each input is parsed once and every look-up goes to that one parse, as the
// catalogue does; parsing again per look-up made the target crawl. The
// schema editor's text model has a target of its own (fuzz_initext).
#include "catalogue/IniDocument.h"
#include "catalogue/IniFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

using namespace Ledgerly;

// The names of a listing, each with its NUL, fit the platform's buffer.
void checkNameList(const QStringList &names)
{
    qsizetype used = 0;
    for (const QString &name : names) {
        if (name.isEmpty())
            std::abort();
        used += name.size() + 1;
    }
    if (used >= IniBufferSize)
        std::abort();
}

void checkLookUps(const IniDocument &document)
{
    const QStringList sections = listIniSections(document);
    checkNameList(sections);
    // The listing keeps the first sections of the file: the catalogue counts
    // the rest as the ones it could not list.
    if (document.sectionNames().mid(0, sections.size()) != sections)
        std::abort();
    // A section's keys are searched one after another, so a cap keeps a
    // hostile input of thousands of keys from turning each run quadratic.
    for (const QString &section : sections.mid(0, 8)) {
        const QStringList keys = listIniKeys(document, section);
        checkNameList(keys);
        if (countIniKeys(document, section) != keys.size())
            std::abort();
        for (const QString &key : keys.mid(0, 16))
            if (readIniValue(document, section, key).size() >= IniBufferSize)
                std::abort();
        // Mostly absent names: the look-up must simply read empty.
        readIniValue(document, section, QStringLiteral("Databasename"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkLookUps(IniDocument::parse(bytes));
    return 0;
}
