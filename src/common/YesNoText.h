#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>

namespace Ledgerly {

// The one reader of yes/no text. Callers choose which forms count: the save
// keeps texts that are not "True"/"False" as they are, the import reads every
// form a spreadsheet or a person writes, settings also take numbers.
class YesNoText
{
public:
    enum class Answer { No, Yes, Unreadable };

    enum Form : int {
        TrueFalse = 0x1, // "True" / "False"
        YesNo = 0x2,     // "Yes" / "No" and "Y" / "N"
        Numbers = 0x4,   // any number; zero is No ("0", "0.0", "-0")
        Binary = 0x8,    // only "1" / "0"
        AnyForm = TrueFalse | YesNo | Numbers,
    };

    // Case and surrounding blanks are ignored. Empty text is Unreadable.
    static Answer read(QStringView text, int forms = AnyForm);
    // The same as a value: a bool, or a null QVariant when unreadable.
    static QVariant value(QStringView text, int forms = AnyForm);
    // "True" or "False", the form every writer uses.
    static QString text(bool value);
};

} // namespace Ledgerly
