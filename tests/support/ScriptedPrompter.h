#pragma once

#include "common/Prompter.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <stdexcept>

// Answers the program's questions from a script and records what was asked,
// so no test ever waits on a modal window. An unscripted question fails the
// test by throwing instead of blocking.
class ScriptedPrompter : public Ledgerly::Prompter
{
public:
    struct Message
    {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
    };

    QQueue<int> answers;            // for message(); Ok is assumed for OK-only boxes
    QQueue<QString> fileAnswers;    // for fileName(); "" means cancelled
    QQueue<UserChoice> userAnswers; // for chooseUser(): replaces the in/out fields
    // for editText(): the text written back with Done, or a null string for
    // closing the editor without Done
    QQueue<QString> textAnswers;
    QQueue<int> numberAnswers; // for askNumber(); 0 or less means cancelled

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QList<UserChoice> userRequests;
    QList<TextRequest> textRequests;
    QList<NumberRequest> numberRequests;

    int message(const QString &text, Buttons buttons, Icon icon, const QString &title) override
    {
        messages.append({text, buttons, icon, title});
        if (buttons == Buttons::Ok && answers.isEmpty())
            return Ok;
        if (answers.isEmpty())
            throw std::logic_error("unscripted question: " + text.toStdString());
        return answers.dequeue();
    }

    QString fileName(const FileRequest &request) override
    {
        fileRequests.append(request);
        if (fileAnswers.isEmpty())
            throw std::logic_error("unscripted file dialog");
        return fileAnswers.dequeue();
    }

    void chooseUser(UserChoice &choice) override
    {
        userRequests.append(choice);
        if (userAnswers.isEmpty())
            throw std::logic_error("unscripted user dialog");
        choice = userAnswers.dequeue();
    }

    bool editText(TextRequest &request) override
    {
        textRequests.append(request);
        if (textAnswers.isEmpty())
            throw std::logic_error("unscripted text editor");
        const QString answer = textAnswers.dequeue();
        if (answer.isNull())
            return false;
        request.text = answer;
        return true;
    }

    bool askNumber(NumberRequest &request) override
    {
        numberRequests.append(request);
        if (numberAnswers.isEmpty())
            throw std::logic_error("unscripted number question");
        const int answer = numberAnswers.dequeue();
        if (answer <= 0)
            return false;
        request.value = answer;
        return true;
    }
};
