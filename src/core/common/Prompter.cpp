#include "core/common/Prompter.h"

namespace telvaro {
namespace {

class DefaultAnswerPrompter final : public Prompter
{
public:
    MsgResult message(QWidget*, const MessageRequest& request) override
    {
        const QList<MsgResult> buttons = buttonsOf(request.buttons);
        const int index = request.defaultButton - 1;
        return index >= 0 && index < buttons.size() ? buttons[index] : buttons.front();
    }
    std::optional<QString> input(QWidget*, const InputRequest&) override { return std::nullopt; }
    std::optional<QString> openFile(QWidget*, const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(QWidget*, const FileRequest&) override { return std::nullopt; }
};

DefaultAnswerPrompter g_defaultPrompter;
Prompter* g_prompter = nullptr;

} // namespace

Prompter& prompter()
{
    return g_prompter ? *g_prompter : g_defaultPrompter;
}

void setPrompter(Prompter* p)
{
    g_prompter = p;
}

MsgResult showMessage(Prompter& prompter, QWidget* parent, const QString& text,
                      const QString& title, MsgButtons buttons, MsgIcon icon, int defaultButton)
{
    return prompter.message(parent, MessageRequest{text, title, buttons, icon, defaultButton});
}

QList<MsgResult> buttonsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return {MsgResult::Ok};
    case MsgButtons::OkCancel:
        return {MsgResult::Ok, MsgResult::Cancel};
    case MsgButtons::YesNo:
        return {MsgResult::Yes, MsgResult::No};
    case MsgButtons::YesNoCancel:
        return {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
    case MsgButtons::RetryCancel:
        return {MsgResult::Retry, MsgResult::Cancel};
    case MsgButtons::AbortRetryIgnore:
        return {MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore};
    }
    return {MsgResult::Ok};
}

} // namespace telvaro
