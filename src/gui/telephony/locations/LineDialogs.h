// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/locations/LineErrors.h"

#include <QObject>
#include <QString>

class QWidget;

namespace telvaro {

class Prompter;
class SipPasswords;

// The three configuration dialogs of the line layer, in the shape of the
// telephony API's functions. Each is modal to `owner` (nullptr: to the
// program), works without any modem and returns 0, or a LINEERR_* value for
// arguments it cannot use; none of them fails the window that opened it.
// They ask their questions through `prompter`; the SIP phones' passwords
// typed go to `passwords`.

// Dialing properties: locations, their rules and the calling cards, with
// `addressIn` shown as given at the bottom (the program passes "Last number
// dialed:" and the number). Saved changes apply to the next translation.
LineResult lineTranslateDialog(HLINEAPP lineApp, quint32 deviceId, quint32 apiVersion,
                               QWidget* owner, const QString& addressIn, Prompter& prompter);

// Modem properties of line device `deviceId` for the device class "comm"
// (also "comm/datamodem", "tapi/line" and empty). Saved changes apply when
// the line is next opened. Without such a device the user is told so and is
// offered the system modems; the result is then LINEERR_BADDEVICEID.
LineResult lineConfigDialog(quint32 deviceId, QWidget* owner, const QString& deviceClass,
                            SipPasswords& passwords, Prompter& prompter);

// The modems of the system (permanent provider 1, the serial modem
// provider): add, remove, change, detect and query modems.
LineResult lineConfigProvider(QWidget* owner, quint32 permanentProviderId, SipPasswords& passwords,
                              Prompter& prompter);

class LineService;

// The program's use of them. A change of the modems or SIP phones set up
// starts the line session again, so the device list shows it.
class LineDialogs : public QObject
{
    Q_OBJECT

public:
    LineDialogs(LineService& line, SipPasswords& passwords, Prompter& prompter,
                QObject* parent = nullptr);

    // "Dialing &Properties", with the last number dialed.
    void showDialingProperties(QWidget* owner, const QString& lastNumber);
    // "Modem &Properties" of line device `device`.
    void showModemProperties(QWidget* owner, int device);
    // "&System modems ".
    void showSystemModems(QWidget* owner);

private:
    void lineDevicesChanged();

    LineService& m_line;
    SipPasswords& m_passwords;
    Prompter& m_prompter;
};

// The caption the program shows in the dialing properties dialog for the last
// dialed number: "Last number dialed:" and five blanks before the number;
// numbers longer than 66 characters are cut to 55 and "...".
QString lastNumberCaption(const QString& lastNumber);

} // namespace telvaro
