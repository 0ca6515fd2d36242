// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/Prompter.h"

namespace telvaro {

// The real prompter: QMessageBox, QInputDialog and QFileDialog.
class DialogPrompter final : public Prompter
{
public:
    MsgResult message(QWidget* parent, const MessageRequest& request) override;
    std::optional<QString> input(QWidget* parent, const InputRequest& request) override;
    std::optional<QString> openFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileRequest& request) override;
};

} // namespace telvaro
