// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/options/Preferences.h"

#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>

#include <limits>

namespace telvaro {

using S = OptionsStore;

namespace preferences {

QStringList writeOrder()
{
    return {QStringLiteral("Line No"),
            QStringLiteral("Modem"),
            QStringLiteral("Load @ startup"),
            QStringLiteral("Dialing Pad"),
            QStringLiteral("Mode"),
            QStringLiteral("SysTray Enabled"),
            QStringLiteral("SoundRedial Enabled"),
            QStringLiteral("SoundIncoming Enabled"),
            QStringLiteral("SoundEndRedials Enabled"),
            QStringLiteral("Redial Enabled"),
            QStringLiteral("Redials Number"),
            QStringLiteral("Interval Minutes"),
            QStringLiteral("Interval Seconds"),
            QStringLiteral("UseModem"),
            QStringLiteral("Trim OutLog Enabled"),
            QStringLiteral("OutLog Days"),
            QStringLiteral("Trim InLog Enabled"),
            QStringLiteral("InLog Days"),
            QStringLiteral("Calling Card for local calls"),
            QStringLiteral("Ignore Dialing Properties"),
            QStringLiteral("Tone Dial"),
            QStringLiteral("Special Characters"),
            QStringLiteral("Dialing Mode"),
            QStringLiteral("Command Line"),
            QStringLiteral("Block ID"),
            QStringLiteral("Call Display"),
            QStringLiteral("Busy Delay Timer")};
}

} // namespace preferences

QString receiveCaption(bool automatic)
{
    // The main window's own texts: one translation serves both.
    return automatic ? QCoreApplication::translate("telvaro::FrmDialer", "&Automatic Receive")
                     : QCoreApplication::translate("telvaro::FrmDialer", "&Manual Receive");
}

namespace {

QString readKey(IniFile& ini, const char* key)
{
    return ini.read(preferences::kSection, QString::fromLatin1(key));
}

void applyCheck(IniFile& ini, OptionsStore& store, const char* key, S::Check c)
{
    if (const std::optional<int> state = settings::checkValue(readKey(ini, key)))
        store.setCheck(c, *state);
}

// A "one" value that checks or clears a check box.
void applyOneCheck(IniFile& ini, OptionsStore& store, const char* key, S::Check c)
{
    if (const std::optional<bool> on = settings::oneValue(readKey(ini, key)))
        store.setChecked(c, *on);
}

// A "one" value that selects `whenOne` or its partner.
void applyOneOption(IniFile& ini, OptionsStore& store, const char* key, S::Option whenOne)
{
    if (const std::optional<bool> on = settings::oneValue(readKey(ini, key)))
        store.select(*on ? whenOne : S::partner(whenOne));
}

bool isWholeNumber(const QString& text);

// A number text: the box gets the number as stored, its spin bar the value when
// it lies in the bar's range. A missing value, or one that is no whole number,
// gives the box the spin bar's text, except for the days boxes, which then
// stay as they are.
void applyNumberText(IniFile& ini, OptionsStore& store, const char* key, S::Text t)
{
    const QString value = readKey(ini, key);
    if (isWholeNumber(value)) {
        // Without the line-end characters a hand-edited file can leave
        // around it, which OK could not write back.
        store.setText(t, value.trimmed());
        return;
    }
    if (t == S::txtDays || t == S::txtInDays)
        return;
    store.setSpinValue(t, store.spinValue(t));
}

// Puts chkNoModem opposite chkModem.
void alignModemPair(OptionsStore& store)
{
    store.setChecked(S::chkNoModem, !store.isChecked(S::chkModem));
}

QString checkText(const OptionsStore& store, S::Check c)
{
    return QString::number(store.check(c));
}

QString oneText(bool condition)
{
    return condition ? QStringLiteral("1") : QStringLiteral("0");
}

bool isWholeNumber(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return false;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// Corrections shared by OK and Cancel; `redials` and `seconds` are the values
// an empty or zero count and a zero interval become.
void correct(OptionsStore& store, int redials, int seconds, bool delayTimer)
{
    const auto zeroOrEmpty = [&](S::Text t) {
        const QString text = store.text(t);
        return text.isEmpty() || settings::leadingNumber(text) == 0.0;
    };
    if (store.isChecked(S::chkRedial) && zeroOrEmpty(S::TxtRedial))
        store.setSpinValue(S::TxtRedial, redials);
    if (store.text(S::txtMinutes).isEmpty())
        store.setSpinValue(S::txtMinutes, 0);
    if (zeroOrEmpty(S::txtSeconds) && zeroOrEmpty(S::txtMinutes))
        store.setSpinValue(S::txtSeconds, seconds);
    if (delayTimer && store.text(S::txtDelayTimer).isEmpty())
        store.setSpinValue(S::txtDelayTimer, 0);

    // A box left with text that is no whole number (letters, a sign, blanks
    // only) takes the last valid value its spin bar holds. Whole numbers stay
    // as typed even outside the bar's range ("0" seconds beside 2 minutes is a
    // valid interval, 100 days a valid retention).
    for (S::Text t :
         {S::TxtRedial, S::txtMinutes, S::txtSeconds, S::txtDays, S::txtInDays, S::txtDelayTimer}) {
        if (t == S::txtDelayTimer && !delayTimer)
            continue;
        if (!isWholeNumber(store.text(t)))
            store.setSpinValue(t, store.spinValue(t));
    }
}

} // namespace

void applyDialingPadPreference(IniFile& ini, OptionsStore& store)
{
    applyCheck(ini, store, "Dialing Pad", S::chkPad);
}

bool subjectModePreferred(IniFile& ini)
{
    return settings::oneValue(readKey(ini, "Mode")).value_or(false);
}

void applyPreferences(IniFile& ini, OptionsStore& store)
{
    // A device id: a number of at least 0; anything else leaves the device.
    if (const std::optional<double> device = settings::numericValue(readKey(ini, "Line No"));
        device && *device >= 0.0 && *device <= std::numeric_limits<int>::max())
        store.setSelectedLineDevice(settings::countValue(readKey(ini, "Line No")));

    const QString modem = readKey(ini, "Modem");
    if (!modem.isEmpty())
        store.setText(S::cmbLineDevices, modem);
    else
        fillLineDevices(store);

    applyCheck(ini, store, "Load @ startup", S::chkLoad);
    applyCheck(ini, store, "UseModem", S::chkModem);
    alignModemPair(store);
    applyCheck(ini, store, "Calling Card for local calls", S::chkCallingCard);
    applyCheck(ini, store, "Ignore Dialing Properties", S::chkIgnore);
    applyOneOption(ini, store, "Tone Dial", S::optTone);
    applyOneCheck(ini, store, "Special Characters", S::chkSpecial);
    applyOneOption(ini, store, "Dialing Mode", S::optMode1);
    applyOneCheck(ini, store, "Command Line", S::chkCommand);
    applyOneCheck(ini, store, "Block ID", S::chkBlockID);

    if (const std::optional<bool> on = settings::oneValue(readKey(ini, "Call Display"))) {
        store.setChecked(S::chkCallDisplay, *on);
    }

    applyNumberText(ini, store, "Busy Delay Timer", S::txtDelayTimer);
    applyCheck(ini, store, "SysTray Enabled", S::chkIcon);
    applyCheck(ini, store, "SoundRedial Enabled", S::chkSoundRed);
    applyCheck(ini, store, "SoundIncoming Enabled", S::chkSoundIn);
    applyCheck(ini, store, "SoundEndRedials Enabled", S::chkSoundEndRed);
    applyCheck(ini, store, "Trim OutLog Enabled", S::chkDelOutgoing);
    applyNumberText(ini, store, "OutLog Days", S::txtDays);
    applyCheck(ini, store, "Trim InLog Enabled", S::chkDelIncoming);
    applyNumberText(ini, store, "InLog Days", S::txtInDays);
    applyCheck(ini, store, "Redial Enabled", S::chkRedial);
    applyNumberText(ini, store, "Redials Number", S::TxtRedial);
    applyNumberText(ini, store, "Interval Minutes", S::txtMinutes);
    applyNumberText(ini, store, "Interval Seconds", S::txtSeconds);
}

void correctForOk(OptionsStore& store)
{
    correct(store, 1, 1, true);
}

void correctForCancel(OptionsStore& store)
{
    correct(store, 3, 5, false);
}

Result writePreferences(IniFile& ini, const OptionsStore& store)
{
    const QStringList keys = preferences::writeOrder();
    const QStringList values = {
        QString::number(store.selectedLineDevice()),
        store.text(S::cmbLineDevices),
        checkText(store, S::chkLoad),
        checkText(store, S::chkPad),
        oneText(store.isSelected(S::optSubject)),
        checkText(store, S::chkIcon),
        checkText(store, S::chkSoundRed),
        checkText(store, S::chkSoundIn),
        checkText(store, S::chkSoundEndRed),
        checkText(store, S::chkRedial),
        store.text(S::TxtRedial),
        store.text(S::txtMinutes),
        store.text(S::txtSeconds),
        checkText(store, S::chkModem),
        checkText(store, S::chkDelOutgoing),
        store.text(S::txtDays),
        checkText(store, S::chkDelIncoming),
        store.text(S::txtInDays),
        checkText(store, S::chkCallingCard),
        checkText(store, S::chkIgnore),
        oneText(store.isSelected(S::optTone)),
        oneText(store.isChecked(S::chkSpecial)),
        oneText(store.isSelected(S::optMode1)),
        oneText(store.isChecked(S::chkCommand)),
        oneText(store.isChecked(S::chkBlockID)),
        oneText(store.isChecked(S::chkCallDisplay)),
        store.text(S::txtDelayTimer),
    };
    Q_ASSERT(keys.size() == values.size());

    // A value the file cannot hold (a line break in a device name) is not
    // written; the others are, and the write fails with the first refusal.
    QString refused;
    IniFile::Batch batch(ini);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (!ini.write(preferences::kSection, keys[i], values[i]) && refused.isNull())
            refused = ini.lastError();
    }
    if (!batch.commit())
        return Result::failure(ini.lastError());
    if (!refused.isNull())
        return Result::failure(refused);
    return Result::success();
}

void fillLineDevices(OptionsStore& store)
{
    store.refreshLineDevices();
    const QStringList names = store.lineDeviceNames();
    if (!names.isEmpty() && !names.contains(store.text(S::cmbLineDevices)))
        store.setText(S::cmbLineDevices, names.first());
}

namespace {

bool g_reactionsInstalled = false;

} // namespace

void installOptionReactions(OptionsStore& store)
{
    if (g_reactionsInstalled)
        return;
    g_reactionsInstalled = true;
    QObject::connect(&store, &OptionsStore::checkClicked, &store, [&store](S::Check c) {
        switch (c) {
        case S::chkModem:
            alignModemPair(store);
            break;
        case S::chkNoModem:
            store.setChecked(S::chkModem, !store.isChecked(S::chkNoModem));
            break;
        default:
            break;
        }
    });
}

void installPreferences()
{
    installOptionReactions(options());
}

} // namespace telvaro
