// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ShellServices.h"

#include "core/common/Prompter.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace telvaro {

QStringList systemInformationPrograms()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("lshw-gtk"), QStringLiteral("xfce4-about")};
}

QString findSystemInformationProgram()
{
    for (const QString& name : systemInformationPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool showSystemInformation(Prompter& prompter, QWidget* parent)
{
    for (const QString& name : systemInformationPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return true;
    }
    showMessage(prompter, parent,
                QCoreApplication::translate("telvaro::ShellServices",
                                            "System Information Is Unavailable At This Time"));
    return false;
}

} // namespace telvaro
