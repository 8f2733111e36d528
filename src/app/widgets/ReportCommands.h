#pragma once

#include <QString>

#include <functional>

class QAbstractItemModel;
class QDialog;
class QWidget;

namespace Ledgerly {

class MainController;
class ProgramLauncher;
class Prompter;

// The main window's Print Preview and Reports commands: the report tool
// decides, and the built-in preview is shown when the settings ask for it.
class ReportCommands
{
public:
    struct Context
    {
        MainController &controller;
        Prompter &prompter;
        ProgramLauncher &launcher;
        const QAbstractItemModel *model; // what the table view shows
        QWidget *owner;
        std::function<void(QDialog &)> showModal;
    };

    static void printPreview(const Context &context, bool fromToolbar);
    static void reports(const Context &context);
};

} // namespace Ledgerly
