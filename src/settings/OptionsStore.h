// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace telvaro {

// The program's live settings: the state of every control of the options
// dialog. The dialog (FrmOptions) is a view on this store; every other part
// of the program reads its settings here. Changing a check box or an option
// button to a new state emits checkClicked / optionClicked, exactly as a user
// click would, so the click reactions run whoever changes the state; setting
// the state it already has emits nothing.
class OptionsStore : public QObject
{
    Q_OBJECT

public:
    // Check boxes; state 0 cleared, 1 checked, 2 grey.
    enum Check {
        chkSoundRed,
        chkSoundIn,
        chkSoundEndRed,
        chkRedial,
        chkLoad,
        chkPad,
        chkIcon,
        chkNoModem,
        chkModem,
        chkDelOutgoing,
        chkDelIncoming,
        chkCallingCard,
        chkIgnore,
        chkSpecial,
        chkBlockID,
        chkCommand,
        chkCallDisplay,
        CheckCount
    };
    Q_ENUM(Check)

    // Option buttons, in pairs: selecting one clears its partner.
    enum Option { optIndex, optSubject, optTone, optPulse, optMode1, optMode2, OptionCount };
    Q_ENUM(Option)

    // Text boxes (each of the first six paired with a spin bar) and the text
    // of the line-device box.
    enum Text {
        TxtRedial,     // vsb1, 1-999
        txtMinutes,    // vsb2, 0-99
        txtSeconds,    // vsb3, 1-99
        txtDays,       // vsbDays, 0-99
        txtInDays,     // vsbInDays, 0-99
        txtDelayTimer, // vsbDelayTimer, 0-99
        cmbLineDevices,
        TextCount
    };
    Q_ENUM(Text)

    explicit OptionsStore(QObject* parent = nullptr);

    // Back to the designed state of every control (no signals).
    void resetToDesigned();

    int check(Check c) const { return m_checks[c]; }
    bool isChecked(Check c) const { return m_checks[c] == 1; }
    void setCheck(Check c, int state);
    void setChecked(Check c, bool on) { setCheck(c, on ? 1 : 0); }

    bool isSelected(Option o) const { return m_options[o]; }
    // Selects `o` and clears its partner; emits optionClicked(o) when `o` was
    // not selected.
    void select(Option o);
    static Option partner(Option o);

    QString text(Text t) const { return m_texts[t]; }
    // Sets a box's text. For a box with a spin bar, text holding a whole
    // number within the bar's range also moves the bar; any other text (not a
    // number, out of range, empty) leaves the bar where it was.
    void setText(Text t, const QString& value);

    // The spin bar paired with a text box (not for cmbLineDevices). Moving the
    // bar writes its value into the box as decimal text; values outside the
    // range are brought into it.
    int spinValue(Text t) const { return m_spins[t]; }
    void setSpinValue(Text t, int value);
    static bool hasSpinBar(Text t) { return t != cmbLineDevices && t != TextCount; }
    static int spinMinimum(Text t);
    static int spinMaximum(Text t);
    // The value a box's text gives its spin bar: a whole number of decimal
    // digits (blanks around it allowed) within the bar's range; nullopt
    // otherwise.
    static std::optional<int> spinValueOfText(Text t, const QString& text);
    // The box's text when it is a valid spin value, else the decimal text of
    // the spin bar (what the rest of the program should rely on).
    QString validText(Text t) const;

    // The names listed in cmbLineDevices, in device-id order.
    QStringList lineDeviceNames() const { return m_lineDeviceNames; }
    void setLineDeviceNames(const QStringList& names);
    // Asks the line layer's owner for the device names (lineDevicesWanted);
    // they are set before this returns.
    void refreshLineDevices() { Q_EMIT lineDevicesWanted(); }

    // The device chosen in cmbLineDevices; positions equal device ids.
    int selectedLineDevice() const { return m_selectedLineDevice; }
    void setSelectedLineDevice(int device);

Q_SIGNALS:
    void checkClicked(telvaro::OptionsStore::Check c);
    void optionClicked(telvaro::OptionsStore::Option o);
    void textChanged(telvaro::OptionsStore::Text t);
    void spinValueChanged(telvaro::OptionsStore::Text t);
    void selectedLineDeviceChanged(int device);
    void lineDeviceNamesChanged();
    void lineDevicesWanted();

private:
    std::array<int, CheckCount> m_checks{};
    std::array<bool, OptionCount> m_options{};
    std::array<QString, TextCount> m_texts;
    std::array<int, TextCount> m_spins{};
    int m_selectedLineDevice = 0;
    QStringList m_lineDeviceNames;
};

// The one store of the running program: the live options every part reads.
// One of the program's only three process-wide objects, with the settings
// file (settings::file()) and the clock (clock()).
OptionsStore& options();

} // namespace telvaro
