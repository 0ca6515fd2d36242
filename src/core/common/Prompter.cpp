// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/Prompter.h"

namespace telvaro {

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
