#pragma once
// A stand-in for the dialogs: it answers file dialogs from a script and
// records every message and help request, so window tests run unattended.

#include "Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

struct RecordedMessage {
    QString title;
    QString text;
    platform::MessageIcon icon;
};

class ScriptedDialogs final : public platform::DialogProvider {
public:
    ScriptedDialogs() { platform::setDialogProvider(this); }
    ~ScriptedDialogs() override { platform::setDialogProvider(nullptr); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Answers for the next dialogs, in order; with none left, dialogs are cancelled.
    std::deque<platform::OpenFileAnswer> openAnswers;
    std::deque<platform::SaveFileAnswer> saveAnswers;

    // What the program asked.
    QList<platform::OpenFileRequest> openRequests;
    QList<platform::SaveFileRequest> saveRequests;
    QList<RecordedMessage> messages;
    QStringList helpFiles;

    platform::OpenFileAnswer openFile(QWidget*, const platform::OpenFileRequest& request) override
    {
        openRequests.append(request);
        if (openAnswers.empty())
            return {};
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }

    platform::SaveFileAnswer saveFile(QWidget*, const platform::SaveFileRequest& request) override
    {
        saveRequests.append(request);
        if (saveAnswers.empty())
            return {};
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    void message(QWidget*, const QString& title, const QString& text, platform::MessageIcon icon) override
    {
        messages.append({title, text, icon});
    }

    void showHelp(QWidget*, const QString& helpFile) override { helpFiles.append(helpFile); }
};
