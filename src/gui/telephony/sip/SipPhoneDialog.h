// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/sip/SipConfig.h"

#include "core/common/Prompter.h"
#include "core/telephony/sip/SipPasswords.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace telvaro {

// "SIP Phone Properties": the account and the phone Telvaro dials through.
// Edits a copy; settings() is the result and password() the password typed
// (empty: unchanged). The password never goes into the configuration file.
class SipPhoneDialog : public QDialog
{
    Q_OBJECT

public:
    // `prompter` asks the dialog's questions.
    SipPhoneDialog(const SipAccount& account, bool isNew, QWidget* parent, Prompter& prompter);

    SipAccount settings() const;
    QString password() const;

private:
    void tryAccept();

    QLineEdit* txtName = nullptr;
    QLineEdit* txtRegistrar = nullptr;
    QLineEdit* txtDomain = nullptr;
    QLineEdit* txtUser = nullptr;
    QLineEdit* txtAuthUser = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtPhone = nullptr;
    QComboBox* cmbTransport = nullptr;
    QCheckBox* chkRegister = nullptr;
    QSpinBox* spnDialTimeout = nullptr;
    QDialogButtonBox* buttons = nullptr;

    Prompter& m_prompter;
    SipAccount m_account;
    bool m_new;
};

// "SIP Phones": the phones set up as line devices after the modems. Every
// change is written to the telephony configuration at once; passwords go to
// the keyring.
class SipPhonesDialog : public QDialog
{
    Q_OBJECT

public:
    // `passwords` keeps the passwords typed.
    SipPhonesDialog(SipPasswords& passwords, QWidget* parent, Prompter& prompter);

    const std::vector<SipAccount>& phones() const { return m_phones; }

    void addPhone();
    void removePhone();
    void editPhone();

private:
    void fill(int select);
    bool save();

    QTreeWidget* twPhones = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdProperties = nullptr;
    QLabel* lblStatus = nullptr;

    SipPasswords& m_passwords;
    Prompter& m_prompter;
    std::vector<SipAccount> m_phones;
};

// Edits SIP phone `index` of the configuration and saves it (and its
// password); false when nothing changed or it could not be saved.
bool editSipPhone(int index, QWidget* owner, SipPasswords& passwords, Prompter& prompter);

// Stores a password typed in a dialog in the keyring, and tells the user
// when there is no keyring to keep it.
void storeSipPassword(const SipAccount& account, const QString& password, QWidget* owner,
                      SipPasswords& passwords, Prompter& prompter);

// Asks the user for a password the keyring cannot give, through `prompter`
// (it must outlive this).
class SipPasswordPrompt final : public SipPasswordAsker
{
public:
    explicit SipPasswordPrompt(Prompter& prompter) : m_prompter(prompter) {}
    void askPassword(SipPasswords& passwords, const SipAccount& account,
                     const QString& why) override;

private:
    Prompter& m_prompter;
};

} // namespace telvaro
