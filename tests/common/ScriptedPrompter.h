// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/Prompter.h"

#include <QList>
#include <QQueue>

namespace telvaro::test {

// A prompter for tests: records every request and answers from queues. A
// test hands it to the parts that ask (PartDoubles, or their constructors). A
// message with no scripted answer gets its default button; an input or file
// dialog with no scripted answer is cancelled.
class ScriptedPrompter final : public Prompter
{
public:
    QQueue<MsgResult> messageAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<std::optional<QString>> fileAnswers;

    QList<MessageRequest> messages;
    QList<InputRequest> inputs;
    QList<FileRequest> files;

    MsgResult message(QWidget* parent, const MessageRequest& request) override;
    std::optional<QString> input(QWidget* parent, const InputRequest& request) override;
    std::optional<QString> openFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileRequest& request) override;
};

} // namespace telvaro::test
