#include "IniEdit.h"

#include "IniDocument.h"
#include "IniText.h"

namespace Ledgerly::IniEdit {

namespace {

QString keyTaken(const IniDocument &doc, int section, const QString &name, int except = -1)
{
    const int found = doc.findKey(section, name);
    if (found >= 0 && found != except)
        return QStringLiteral("[%1] already has a key \"%2\"")
            .arg(doc.sectionNames().at(section), doc.keyName(section, found).toString());
    return {};
}

QString sectionTaken(const IniDocument &doc, const QString &name, int except = -1)
{
    for (int s = 0; s < doc.sectionCount(); ++s)
        if (s != except && doc.sectionNames().at(s).compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("The file already has a section [%1]")
                .arg(doc.sectionNames().at(s));
    return {};
}

} // namespace

bool isBlankLine(const IniText &text, int line)
{
    return text.parts(line).kind == IniLine::Ignored && text.lineText(line).trimmed().isEmpty();
}

int endOfSection(const IniText &text, int section)
{
    const IniDocument &doc = text.document();
    const int keys = doc.keyCount(section);
    return (keys > 0 ? doc.keyLine(section, keys - 1) : doc.sectionLine(section)) + 1;
}

QString setValue(IniText &text, int section, int key, const QString &value)
{
    if (QString problem = text.valueProblem(value); !problem.isEmpty())
        return problem;
    text.setValue(text.document().keyLine(section, key), value);
    return {};
}

QString renameKey(IniText &text, int section, int key, const QString &name)
{
    if (QString problem = text.keyNameProblem(name); !problem.isEmpty())
        return problem;
    if (QString taken = keyTaken(text.document(), section, name, key); !taken.isEmpty())
        return taken;
    text.renameKey(text.document().keyLine(section, key), name);
    return {};
}

QString addKey(IniText &text, int section, const QString &name, const QString &value)
{
    if (QString problem = text.keyNameProblem(name); !problem.isEmpty())
        return problem;
    if (QString problem = text.valueProblem(value); !problem.isEmpty())
        return problem;
    if (QString taken = keyTaken(text.document(), section, name); !taken.isEmpty())
        return taken;
    text.insertLines(endOfSection(text, section), {IniText::entryLine(name, value)});
    return {};
}

QString removeKey(IniText &text, int section, int key)
{
    text.removeLines(text.document().keyLine(section, key), 1);
    return {};
}

QString addSection(IniText &text, const QString &name, const QStringList &lines, int *section)
{
    if (QString problem = text.sectionNameProblem(name); !problem.isEmpty())
        return problem;
    if (QString taken = sectionTaken(text.document(), name); !taken.isEmpty())
        return taken;
    for (const QString &line : lines)
        if (QString problem = text.valueProblem(line); !problem.isEmpty())
            return problem;
    QStringList added;
    if (text.lineCount() > 0 && !isBlankLine(text, text.lineCount() - 1))
        added << QString();
    added << IniText::sectionLine(name) << lines;
    text.insertLines(text.lineCount(), added);
    if (section)
        *section = text.document().sectionCount() - 1;
    return {};
}

QString renameSection(IniText &text, int section, const QString &name)
{
    if (QString problem = text.sectionNameProblem(name); !problem.isEmpty())
        return problem;
    if (QString taken = sectionTaken(text.document(), name, section); !taken.isEmpty())
        return taken;
    text.renameSection(text.document().sectionLine(section), name);
    return {};
}

QString removeSection(IniText &text, int section)
{
    const int first = text.document().sectionLine(section);
    text.removeLines(first, endOfSection(text, section) - first);
    // One blank line between the neighbours, not two.
    if (first < text.lineCount() && isBlankLine(text, first) &&
        (first == 0 || isBlankLine(text, first - 1)))
        text.removeLines(first, 1);
    return {};
}

} // namespace Ledgerly::IniEdit
