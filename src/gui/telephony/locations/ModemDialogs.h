// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/ModemConfig.h"

#include "core/common/Prompter.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QTreeWidget;

namespace telvaro {

class SipPasswords;

class ModemProbe;

// Lists serial ports by device path (/dev/ttyACM0 ...), sorted. The modem
// dialogs are handed one; tests hand their own list.
class SerialPorts
{
public:
    virtual ~SerialPorts() = default;
    virtual QStringList list() const = 0;
};
// The serial ports of the system.
const SerialPorts& systemSerialPorts();

// The dialogs below offer the ports `ports` lists and ask their questions
// through `prompter`.

// "Modem Properties": one modem's port, speed, speaker, dialing and
// initialization commands. Edits a copy; settings() is the result.
class ModemPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    ModemPropertiesDialog(const ModemSettings& modem, QWidget* parent, const SerialPorts& ports,
                          Prompter& prompter);

    ModemSettings settings() const;

private:
    void tryAccept();

    QLineEdit* txtName = nullptr;
    QComboBox* cmbPort = nullptr;
    QComboBox* cmbSpeed = nullptr;
    QSlider* sldVolume = nullptr;
    QComboBox* cmbSpeakerMode = nullptr;
    QCheckBox* chkDialTone = nullptr;
    QSpinBox* spnDialTimeout = nullptr;
    QLineEdit* txtInit = nullptr;
    QLineEdit* txtCallerId = nullptr;
    QDialogButtonBox* buttons = nullptr;

    Prompter& m_prompter;
    ModemSettings m_modem;
};

// "Add Modem": a port, a name and a speed for a modem set up by hand.
class AddModemDialog : public QDialog
{
    Q_OBJECT

public:
    AddModemDialog(const std::vector<ModemSettings>& existing, QWidget* parent,
                   const SerialPorts& ports, Prompter& prompter);

    ModemSettings settings() const;

private:
    void tryAccept();

    QComboBox* cmbPort = nullptr;
    QLineEdit* txtName = nullptr;
    QComboBox* cmbSpeed = nullptr;

    Prompter& m_prompter;
    const std::vector<ModemSettings>& m_existing;
};

// "Query Modem": the modem's answers to the identification and caller-ID
// commands, filled in as they arrive.
class QueryModemDialog : public QDialog
{
    Q_OBJECT

public:
    QueryModemDialog(const ModemSettings& modem, QWidget* parent = nullptr);
    ~QueryModemDialog() override;

    // Starts the query (also done when the dialog is first shown).
    void start();
    bool finished() const { return m_finished; }
    // How long each command waits for the modem's answer, in milliseconds.
    void setAnswerTimeout(int ms);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTreeWidget* twAnswers = nullptr;
    QLabel* lblStatus = nullptr;
    ModemProbe* probe = nullptr;
    ModemSettings m_modem;
    bool m_started = false;
    bool m_finished = false;
};

// "System Modems": the modems set up for the line layer. Every change is
// written to the telephony configuration at once, so the device list of the
// options dialog shows it the next time it drops down.
class SystemModemsDialog : public QDialog
{
    Q_OBJECT

public:
    // `passwords` keeps the passwords of the SIP phones set up.
    SystemModemsDialog(SipPasswords& passwords, Prompter& prompter, QWidget* parent = nullptr,
                       const SerialPorts& ports = systemSerialPorts());
    ~SystemModemsDialog() override;

    const std::vector<ModemSettings>& modems() const { return m_modems; }
    // How long each port is given to answer during detection, in milliseconds.
    void setAnswerTimeout(int ms);

    // The buttons' actions.
    void addModem();
    void removeModem();
    void editModem();
    void detectModems();
    void queryModem();
    bool detecting() const;

    // Closing stops a detection in progress.
    void reject() override;

private:
    void fill(int select);
    void updateButtons();
    bool save();
    void endDetect(const QString& status);

    QTreeWidget* twModems = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdProperties = nullptr;
    QPushButton* cmdDetect = nullptr;
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdSipPhones = nullptr; // "SIP Phones...": the SIP phone devices
    QProgressBar* prgDetect = nullptr;
    QLabel* lblStatus = nullptr;
    ModemProbe* probe = nullptr;

    const SerialPorts& m_ports;
    SipPasswords& m_passwords;
    Prompter& m_prompter;
    std::vector<ModemSettings> m_modems;
};

} // namespace telvaro
