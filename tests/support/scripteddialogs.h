#pragma once
// Dialogs for tests: records every message and answers the input box and the
// file dialogs with prepared replies (cancel when none is left).

#include "platform/dialogs/dialogs.h"

#include <QList>
#include <QQueue>
#include <functional>

struct RecordedMessage {
    QString text;
    QString title;
    platform::MessageIcon icon;
};

class ScriptedDialogs final : public platform::Dialogs {
public:
    platform::Replacement<platform::Dialogs> seam{this};

    QList<RecordedMessage> messages;
    QList<platform::FileDialogRequest> fileRequests;
    QQueue<QString> inputReplies;
    QQueue<QStringList> openReplies;
    QQueue<QString> saveReplies;
    // Runs while a message is "shown", as a user could act behind a modal box.
    std::function<void(const RecordedMessage&)> onMessage;

    void message(const QString& text, const QString& title, platform::MessageIcon icon) override
    {
        messages.append({text, title, icon});
        if (onMessage)
            onMessage(messages.last());
    }
    QString inputBox(const QString& prompt, const QString& title, const QString& def) override
    {
        lastPrompt = prompt;
        lastTitle = title;
        lastDefault = def;
        return inputReplies.isEmpty() ? QString() : inputReplies.dequeue();
    }
    QStringList openFiles(const platform::FileDialogRequest& request) override
    {
        fileRequests.append(request);
        return openReplies.isEmpty() ? QStringList() : openReplies.dequeue();
    }
    QString saveFile(const platform::FileDialogRequest& request) override
    {
        fileRequests.append(request);
        return saveReplies.isEmpty() ? QString() : saveReplies.dequeue();
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

    QString lastPrompt, lastTitle, lastDefault;
};
