#include "IniEditorDocument.h"

#include "catalogue/IniTextFile.h"
#include "catalogue/SchemaCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUndoCommand>

namespace Ledgerly {

// One change: the whole text before and after it, which share every line
// the change did not touch.
class IniTextCommand : public QUndoCommand
{
public:
    IniTextCommand(IniEditorDocument &document, const QString &description, IniText after,
                   IniEditorDocument::Focus focus)
        : QUndoCommand(description)
        , m_document(document)
        , m_before(document.text())
        , m_after(std::move(after))
        , m_focus(focus)
    {}

    void redo() override { m_document.setText(m_after, m_focus); }
    void undo() override { m_document.setText(m_before, m_focus); }

private:
    IniEditorDocument &m_document;
    IniText m_before;
    IniText m_after;
    IniEditorDocument::Focus m_focus;
};

IniEditorDocument::IniEditorDocument(QObject *parent)
    : QObject(parent)
{}

bool IniEditorDocument::open(const QString &path, QString *problem)
{
    IniText text;
    if (IniTextFile::read(path, &text, problem) == IniTextFile::ReadResult::Refused)
        return false;
    m_undo.clear();
    m_path = QFileInfo(path).absoluteFilePath();
    setText(text, {});
    Q_EMIT pathChanged(m_path);
    return true;
}

bool IniEditorDocument::isSchema() const
{
    return QFileInfo(m_path).fileName().compare(QLatin1String("QuayDB.ini"), Qt::CaseInsensitive) ==
           0;
}

QList<IniProblem> IniEditorDocument::problems() const
{
    return isSchema() ? checkSchemaFile(m_text) : checkIniFile(m_text);
}

QString IniEditorDocument::writeProblem(const QString &path)
{
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("the folder \"%1\" does not exist")
            .arg(QDir::toNativeSeparators(folder));
    if (file.exists() && !file.isWritable())
        return QStringLiteral("\"%1\" is read-only").arg(QDir::toNativeSeparators(path));
    // Saving puts a new file beside the old one; the folder must take it.
    QTemporaryFile probe(folder + QStringLiteral("/.ledgerly-probe-XXXXXX"));
    if (!probe.open())
        return QStringLiteral("the folder \"%1\" cannot be written: %2")
            .arg(QDir::toNativeSeparators(folder), probe.errorString());
    return {};
}

SafeFile::Result IniEditorDocument::saveAs(const QString &path)
{
    const SafeFile::Result result = IniTextFile::write(path, m_text);
    if (!result.ok())
        return result;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool moved = absolute != m_path;
    m_path = absolute;
    m_undo.setClean();
    if (moved)
        Q_EMIT pathChanged(m_path);
    Q_EMIT saved(m_path);
    return result;
}

QString IniEditorDocument::apply(const QString &description, const Edit &edit, Focus focus)
{
    IniText changed = m_text;
    const QString refusal = edit(changed);
    if (!refusal.isEmpty())
        return refusal;
    if (!(changed == m_text))
        m_undo.push(new IniTextCommand(*this, description, std::move(changed), focus));
    return {};
}

void IniEditorDocument::setText(const IniText &text, Focus focus)
{
    m_text = text;
    Q_EMIT textChanged(focus);
}

} // namespace Ledgerly
