// libFuzzer target for the INI reader: any bytes must list and read without
// crashing, and every listed name must read back within the buffer limits.
// The editor's text of any file it takes must write back the same bytes, and
// the schema checks must run on it.
#include "catalogue/IniFile.h"
#include "catalogue/IniText.h"
#include "catalogue/SchemaCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Ledgerly::IniText text;
    QString problem;
    if (Ledgerly::IniText::fromBytes(bytes, &text, &problem)) {
        QByteArray again;
        if (!text.toBytes(&again, &problem) || again != bytes)
            std::abort();
        Ledgerly::checkSchemaFile(text);
    }
    const QStringList sections = Ledgerly::listIniSectionsFromBytes(bytes);
    qsizetype used = 0;
    for (const QString &section : sections)
        used += section.size() + 1;
    if (used >= Ledgerly::IniBufferSize)
        std::abort();
    // Every look-up parses the whole input again; a few sections and keys
    // exercise the look-ups without slowing the run to a crawl.
    for (const QString &section : sections.mid(0, 8)) {
        const QStringList keys = Ledgerly::listIniKeysFromBytes(bytes, section);
        for (const QString &key : keys)
            if (key.isEmpty())
                std::abort();
        for (const QString &key : keys.mid(0, 16)) {
            const QString value = Ledgerly::readIniValueFromBytes(bytes, section, key);
            if (value.size() >= Ledgerly::IniBufferSize)
                std::abort();
        }
        // Mostly absent names: the look-up must simply read empty.
        Ledgerly::readIniValueFromBytes(bytes, section, QStringLiteral("Databasename"));
    }
    return 0;
}
