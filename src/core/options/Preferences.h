// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/OptionsStore.h"
#include "settings/Result.h"

#include <QString>
#include <QStringList>

namespace telvaro {

class IniFile;

// The [Preferences] section of the settings file: the stored copy of the
// options dialog's controls.
namespace preferences {

inline constexpr char16_t kSection[] = u"Preferences";

// The keys the options dialog's OK button writes, in the order it writes them.
QStringList writeOrder();

} // namespace preferences

// Step 8 of start-up: "Dialing Pad", when present, into chkPad.
void applyDialingPadPreference(IniFile& ini, OptionsStore& store);
// Step 9 of start-up: true when "Mode" holds 1 (subject tabs).
bool subjectModePreferred(IniFile& ini);

// Reads the [Preferences] keys in start-up order into the store. A missing or
// unreadable value leaves its control as it is, except that a missing number
// text takes the decimal text of its spin bar. Changing a check box or option
// button runs its click reaction. Never fails.
void applyPreferences(IniFile& ini, OptionsStore& store);

// The corrections the OK and the Cancel button make before the dialog hides:
// an empty or zero redial count, an empty minutes box, a zero interval and
// (OK only) an empty delay timer. Any box of a spin pair still holding text
// that is not a whole number then takes its spin bar's value, so the rest of
// the program never reads garbage (the delay timer only on OK).
void correctForOk(OptionsStore& store);
void correctForCancel(OptionsStore& store);

// Writes the 27 keys of the OK button in its order, in one write. Fails with
// the reason when the file could not be written or refused a value.
Result writePreferences(IniFile& ini, const OptionsStore& store);

// Connects the click reactions of the modem pair to the live settings (the
// line service follows receiving and the request registration itself). Runs
// once; later calls do nothing.
void installOptionReactions(OptionsStore& store = options());

// Refills the device list: FillLineDeviceList, and when the box then shows no
// name of the list, the first name.
void fillLineDevices(OptionsStore& store);

// The receive menu item's caption: "&Automatic Receive" while calls are
// received, "&Manual Receive" otherwise.
QString receiveCaption(bool automatic);

// Installs the reactions on the live settings.
void installPreferences();

} // namespace telvaro
