// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ScriptedPrompter.h"

namespace telvaro::test {

MsgResult ScriptedPrompter::message(QWidget*, const MessageRequest& request)
{
    messages << request;
    if (!messageAnswers.isEmpty())
        return messageAnswers.dequeue();
    const QList<MsgResult> buttons = buttonsOf(request.buttons);
    const int index = request.defaultButton - 1;
    return index >= 0 && index < buttons.size() ? buttons[index] : buttons.front();
}

std::optional<QString> ScriptedPrompter::input(QWidget*, const InputRequest& request)
{
    inputs << request;
    return inputAnswers.isEmpty() ? std::nullopt : inputAnswers.dequeue();
}

std::optional<QString> ScriptedPrompter::openFile(QWidget*, const FileRequest& request)
{
    files << request;
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
}

std::optional<QString> ScriptedPrompter::saveFile(QWidget*, const FileRequest& request)
{
    files << request;
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
}

} // namespace telvaro::test
