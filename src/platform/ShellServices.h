// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace telvaro {

class Prompter;

// System-information programs Telvaro looks for on the PATH, in this order.
QStringList systemInformationPrograms();

// The first of them found on the PATH; empty when none is.
QString findSystemInformationProgram();

// ShowSystemInformation: starts the first system-information program found
// (trying the next when one cannot be started); when there is none, tells the
// user "System Information Is Unavailable At This Time". Returns true when a
// program was started.
bool showSystemInformation(Prompter& prompter, QWidget* parent);

} // namespace telvaro
