// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/common/DialogPrompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace telvaro {
namespace {

QMessageBox::StandardButton standardButton(MsgResult r)
{
    switch (r) {
    case MsgResult::Ok:
        return QMessageBox::Ok;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    case MsgResult::Retry:
        return QMessageBox::Retry;
    case MsgResult::Abort:
        return QMessageBox::Abort;
    case MsgResult::Ignore:
        return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString titleOr(const QString& title)
{
    return title.isEmpty() ? QStringLiteral("Telvaro") : title;
}

} // namespace

MsgResult DialogPrompter::message(QWidget* parent, const MessageRequest& request)
{
    QMessageBox box(boxIcon(request.icon), titleOr(request.title), request.text,
                    QMessageBox::NoButton, parent);
    const QList<MsgResult> buttons = buttonsOf(request.buttons);
    for (MsgResult r : buttons)
        box.addButton(standardButton(r));
    const int index = request.defaultButton - 1;
    if (index >= 0 && index < buttons.size())
        box.setDefaultButton(standardButton(buttons[index]));
    const int answer = box.exec();
    for (MsgResult r : buttons)
        if (answer == standardButton(r))
            return r;
    // Closed with Escape or the title bar: the cancelling button when there is one.
    if (buttons.contains(MsgResult::Cancel))
        return MsgResult::Cancel;
    if (buttons.contains(MsgResult::No))
        return MsgResult::No;
    return buttons.front();
}

std::optional<QString> DialogPrompter::input(QWidget* parent, const InputRequest& request)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent, titleOr(request.title), request.prompt,
        request.secret ? QLineEdit::Password : QLineEdit::Normal, request.defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const FileRequest& request, bool save)
{
    const QString start = request.fileName.isEmpty()
                              ? request.folder
                              : request.folder + QLatin1Char('/') + request.fileName;
    QFileDialog dialog(parent, request.title, start, request.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

std::optional<QString> DialogPrompter::openFile(QWidget* parent, const FileRequest& request)
{
    return runFileDialog(parent, request, false);
}

std::optional<QString> DialogPrompter::saveFile(QWidget* parent, const FileRequest& request)
{
    return runFileDialog(parent, request, true);
}

} // namespace telvaro
