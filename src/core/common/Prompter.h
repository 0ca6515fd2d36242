// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace telvaro {

// Every message box, input box and file dialog of the program goes through
// this interface, so that tests can script the answers.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageRequest
{
    QString text;
    QString title; // empty: the program's title, "Telvaro"
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 1; // 1-based position among the buttons
};

struct InputRequest
{
    QString prompt;
    QString title;
    QString defaultText;
    bool secret = false; // a password: not shown as typed
};

struct FileRequest
{
    QString title;
    QString folder;
    QString fileName;
    QString filter; // as for QFileDialog, e.g. "Profile Files (*.tlx)"
    // Added to a file name typed without an extension.
    QString defaultSuffix;
    // False when the caller asks its own question before replacing a file.
    bool confirmOverwrite = true;
};

class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual MsgResult message(QWidget* parent, const MessageRequest& request) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> input(QWidget* parent, const InputRequest& request) = 0;
    virtual std::optional<QString> openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileRequest& request) = 0;
};

// The parts that ask questions are handed the prompter they ask through (the
// program's asks with dialogs; a test's answers from a script).

// Convenience for the common case.
MsgResult showMessage(Prompter& prompter, QWidget* parent, const QString& text,
                      const QString& title = {}, MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::None, int defaultButton = 1);

// The buttons of a request in their order on screen.
QList<MsgResult> buttonsOf(MsgButtons buttons);

} // namespace telvaro
