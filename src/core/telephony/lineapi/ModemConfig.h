// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Result.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace telvaro {

// One modem of the line layer's configuration: a serial port and how to talk
// to the modem on it. Each configured modem is one line device; its position
// in the list is its device id.
struct ModemSettings
{
    // The name shown in the device list; empty: "Modem on <port>".
    QString name;
    // The serial device, e.g. /dev/ttyACM0.
    QString port;
    // Line speed in bits per second.
    int speed = 115200;
    // Commands sent when the port is opened, separated by "|": reset, echo
    // off, verbose result codes.
    QString initString = QStringLiteral("ATZ|ATE0V1");
    // Seconds to wait for the modem's answer to a dial.
    int dialTimeout = 60;
    // Milliseconds to wait for the answer to every other command.
    int commandTimeout = 3000;
    // Speaker volume (ATL0 to ATL3) and mode (ATM0 off, 1 on until carrier,
    // 2 always on, 3 on while answering).
    int speakerVolume = 1;
    int speakerMode = 1;
    // Wait for dial tone before dialing and detect busy (ATX4); off: blind
    // dialing (ATX3).
    bool waitForDialTone = true;
    // The command that switches caller ID reports on; empty: try the usual
    // ones and keep the first the modem accepts.
    QString callerIdCommand;
    // Milliseconds after the last RING before an unanswered incoming call
    // counts as ended.
    int ringTimeout = 8000;
    // The longest command line the modem takes, counted after "AT"; longer
    // dial strings go out as several dial commands ending in ";".
    int maxCommandLength = 40;
    // The modem knows "$" (wait for the calling card's billing tone); without
    // it a "$" of a dial string is dialed as a pause of two ",".
    bool billingToneWait = false;

    // The name shown for the modem.
    QString displayName() const;
    // The init string split into its commands (blank pieces dropped).
    QStringList initCommands() const;
    // Brings every field into its valid range (values from a hand-edited file).
    void normalize();

    bool operator==(const ModemSettings&) const = default;
};

// The line speeds a modem can be set to.
const QList<int>& modemSpeeds();

// The modems of the line layer's configuration file (paths::telephonyConfigFile()
// unless `file` is given), in device-id order. A missing or unreadable file
// gives no modems; bad values are brought into range.
//
// File format (INI, Windows-1252):
//   [Modems]
//   Count=2
//   [Modem0]
//   Name=US Robotics 56K Voice
//   Port=/dev/ttyACM0
//   Speed=115200
//   InitString=ATZ|ATE0V1
//   DialTimeout=60
//   CommandTimeout=3000
//   SpeakerVolume=1
//   SpeakerMode=1
//   WaitForDialTone=1
//   CallerIdCommand=
//   RingTimeout=8000
//   MaxCommandLength=40
//   BillingToneWait=0
//   [Modem1]
//   ...
std::vector<ModemSettings> loadModems(const QString& file = QString());

// Writes the list as the configuration's modems, replacing the old ones and
// keeping every other section of the file; fails with the reason when the
// file could not be written.
Result saveModems(const std::vector<ModemSettings>& modems, const QString& file = QString());

} // namespace telvaro
