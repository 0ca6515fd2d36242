// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/OptionsStore.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QFrame;

namespace telvaro {

class IniFile;
class Prompter;

// A text box with its spin bar, as one control: the text is whatever the user
// types, the spin bar keeps its own value. Typing a valid number moves the
// bar; the arrows (and the Up / Down keys) step the bar and write its value
// into the box. Both live in the options store.
class SpinTextBox : public QAbstractSpinBox
{
    Q_OBJECT

public:
    SpinTextBox(OptionsStore& store, OptionsStore::Text box, QWidget* parent = nullptr);

    OptionsStore::Text box() const { return m_box; }
    void setMaxLength(int length);
    // Shows the store's text (keeps the cursor when the text is unchanged).
    void refresh();

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    OptionsStore& m_store;
    OptionsStore::Text m_box;
};

// The device box; tells before its list drops down.
class LineDeviceCombo : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override;

Q_SIGNALS:
    void aboutToDropDown();
};

// The options dialog: a modeless view on the options store. Every control
// shows the store's state and writes the user's changes into it; changes the
// store receives from elsewhere show at once. OK writes the settings file,
// Cancel writes nothing; both only hide the dialog.
class FrmOptions : public QDialog
{
    Q_OBJECT

public:
    FrmOptions(OptionsStore& store, Prompter& prompter, QWidget* parent = nullptr);

    // mnuOptions_Click: the General page, then visible.
    void showOptions();

    // The file OK writes; the shared settings file unless set.
    void setSettingsFile(const QString& path) { m_settingsFile = path; }

    void cmdOK_Click();
    void cmdCancel_Click();

    // The device at opening (or at the last drop-down), put back by Cancel.
    int cancelDevice() const { return m_cancelDevice; }

Q_SIGNALS:
    // "&Help": the help page of a topic.
    void helpRequested(const QString& topic);
    // The line layer's dialogs, modal to this dialog: "Modem &Properties" of
    // the device chosen, "&System modems ", "Dialing &Properties".
    void modemPropertiesRequested(int device);
    void systemModemsRequested();
    void dialingPropertiesRequested();

protected:
    void reject() override; // Esc and the title bar's close: Cancel

private:
    // Controls, named as the program knows them (their object names).
    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, 3> fra{};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
    std::array<QCheckBox*, OptionsStore::CheckCount> checks{};
    std::array<QRadioButton*, OptionsStore::OptionCount> opts{};
    std::array<SpinTextBox*, OptionsStore::cmbLineDevices> spins{};
    LineDeviceCombo* cmbLineDevices = nullptr;
    QGroupBox* FraRedial = nullptr;
    QWidget* fraModem = nullptr;
    QPushButton* cmdModProp = nullptr;
    QPushButton* cmdSysModems = nullptr;
    QWidget* fraIgnoreInside = nullptr;
    QPushButton* cmdDialingProperties = nullptr;

    QCheckBox* check(OptionsStore::Check c) const { return checks[c]; }
    QRadioButton* option(OptionsStore::Option o) const { return opts[o]; }

    QWidget* buildGeneralPage();
    QWidget* buildAdvancedPage();
    QWidget* buildExpertPage();
    QCheckBox* makeCheck(OptionsStore::Check c, const QString& caption);
    QRadioButton* makeOption(OptionsStore::Option o, const QString& caption);
    SpinTextBox* makeSpin(OptionsStore::Text t, int maxLength = 0);

    void pageSwitch(int index);
    void checkChanged(OptionsStore::Check c);
    void refreshCheck(OptionsStore::Check c);
    void refreshOptions();
    void refreshDevices();
    void refreshStates();
    void deviceDropDown();
    void deviceChosen(int index);
    void focusIfVisible(QWidget* widget);

    OptionsStore& m_store;
    Prompter& m_prompter;
    QString m_settingsFile;
    QString m_textAtOpening;
    int m_cancelDevice = 0;
    QString m_cancelText; // the name shown for m_cancelDevice: Cancel restores both
    bool m_refreshingDevices = false;
};

} // namespace telvaro
