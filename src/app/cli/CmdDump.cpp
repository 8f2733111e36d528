#include "CliCommand.h"

#include "database/RecordServer.h"
#include "exchange/JsonDump.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Ledgerly::Cli {

namespace {

int runDump(CliContext &ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError{QStringLiteral("dump takes exactly one file")};
    RecordServer server(ctx.hotSyncHome);
    // The file is read a block at a time, every record checked before any
    // text goes out: a damaged file prints nothing but the error.
    const auto records = server.OpenStream(ctx.arguments.first());
    ctx.out.flush();
    const bool written = JsonDump::write(*records, [](QByteArrayView text) {
        return std::fwrite(text.data(), 1, size_t(text.size()), stdout) == size_t(text.size());
    });
    if (!written || std::fflush(stdout) != 0) {
        ctx.err << "ledgerly-cli: the dump could not be written: "
                << QString::fromLocal8Bit(std::strerror(errno)) << "\n";
        return 1;
    }
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("dump"),
    QStringLiteral("dump FILE.pdb"),
    QStringLiteral(
        "Prints a database as one JSON object with name, type, creator, fields\n"
        "([{\"name\", \"type\"}]) and records (one array of values per record): text\n"
        "as strings, yes/no as true/false, dates and times as \"YYYY-MM-DDTHH:MM:SS\",\n"
        "pictures as {\"bytes\", \"sha256\"}, other kinds as {\"hex\"}, no value as null."),
    {},
    {},
    runDump});

} // namespace

} // namespace Ledgerly::Cli
