#pragma once

#include <QString>
#include <QStringList>

namespace Ledgerly {

// Every question the program asks a person goes through here, so the core
// never opens a window itself and tests answer from a script.
class Prompter
{
public:
    // The answers keep the numbers message boxes have always returned.
    enum Answer : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
    // YesNoDefaultNo: for a question whose Yes destroys data, Enter answers No.
    enum class Buttons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };
    enum class Icon { None, Information, Question, Exclamation, Critical };

    struct FileRequest
    {
        QString title;
        QString initialFolder;
        QString fileName;
        QString defaultSuffix; // without the dot
        QString filter;        // Qt filter syntax: "PDB - Palm Database files (*.pdb *.PDB)"
        bool save = true;      // save dialog (else open)
        bool confirmOverwrite = true;
    };

    // The user dialog's fields, filled before it is shown and read after.
    struct UserChoice
    {
        QStringList UserList;
        QString ChosenUser;
        bool AlwaysUseChoice = true;
        bool Accepted = false;
    };

    // The cell text editor's fields: where the cell is (shown as numbers)
    // and its whole text, replaced by the edited text when accepted.
    struct TextRequest
    {
        int row = 0;
        int column = 0;
        QString text;
    };

    // A whole number asked for (Go to Record), within the bounds given;
    // value holds the suggestion before and the answer after.
    struct NumberRequest
    {
        QString title;
        QString label;
        int value = 1;
        int minimum = 1;
        int maximum = 1;
    };

    virtual ~Prompter() = default;

    // An empty title means the application's title.
    virtual int message(const QString &text, Buttons buttons, Icon icon,
                        const QString &title = {}) = 0;
    // The chosen path, or an empty string when cancelled.
    virtual QString fileName(const FileRequest &request) = 0;
    // Shows the HotSync user dialog modally; fills the out fields of choice.
    virtual void chooseUser(UserChoice &choice) = 0;
    // Shows the cell text editor modally; true when it was closed with Done,
    // request.text then holding the text to write back. A prompter that
    // shows no windows has no editor and changes nothing.
    virtual bool editText(TextRequest &request)
    {
        Q_UNUSED(request);
        return false;
    }
    // Asks for a number; true when one was given. A prompter that shows no
    // windows asks nothing.
    virtual bool askNumber(NumberRequest &request)
    {
        Q_UNUSED(request);
        return false;
    }
};

} // namespace Ledgerly
