#pragma once

#include "catalogue/IniCheck.h"
#include "catalogue/IniText.h"
#include "common/SafeFile.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace Ledgerly {

// What a change is about, so that a view can show it again after an undo or
// redo; -1 where it is about none.
struct EditorFocus
{
    int section = -1;
    int field = -1;
    int line = -1;
};

// The file the schema editor works on: its path, its text as the editor has
// changed it, and the history of those changes. The one owner of that
// state; the editor window shows it and the tests drive it directly.
class IniEditorDocument : public QObject
{
    Q_OBJECT
public:
    using Focus = EditorFocus;
    using Edit = std::function<QString(IniText &)>;

    explicit IniEditorDocument(QObject *parent = nullptr);

    // Reads the file (a missing one opens as an empty new file). False, with
    // the reason, when it cannot be read or could not be written back as it
    // is; the document then stays as it was.
    bool open(const QString &path, QString *problem);
    const QString &path() const { return m_path; }
    // A file named QuayDB.ini is read by the schema's rules.
    bool isSchema() const;
    const IniText &text() const { return m_text; }
    QUndoStack &undoStack() { return m_undo; }
    bool isModified() const { return !m_undo.isClean(); }
    QList<IniProblem> problems() const;

    // Why the file could not be written where it is (the folder is missing
    // or cannot be written, the file is read-only); empty when it can.
    static QString writeProblem(const QString &path);
    SafeFile::Result save() { return saveAs(m_path); }
    // On success the file there becomes the document's file.
    SafeFile::Result saveAs(const QString &path);

    // Runs edit on a copy of the text; when it changes something, that is
    // one step of the history. Returns why the edit was refused (nothing
    // changes then), or an empty string.
    QString apply(const QString &description, const Edit &edit, Focus focus = Focus());

Q_SIGNALS:
    void textChanged(Focus focus);
    void pathChanged(const QString &path);
    void saved(const QString &path);

private:
    friend class IniTextCommand;
    void setText(const IniText &text, Focus focus);

    QString m_path;
    IniText m_text;
    QUndoStack m_undo;
};

} // namespace Ledgerly
