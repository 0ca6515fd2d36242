// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Result.h"

#include <QString>

#include <vector>

namespace telvaro {

// One SIP phone of the line layer's configuration: the user's own phone (a
// desk phone or a softphone) and the account it is on. Telvaro places a call
// by calling the phone and, once it has answered, asking it to call the
// number (REFER); it carries no audio itself. Each configured phone is one
// line device, after the modems.
struct SipAccount
{
    enum class Transport { Udp, Tcp, Tls };

    // The name shown in the device list; empty: "SIP phone <user>@<domain>".
    QString name;
    // The registrar and outbound proxy ("pbx.example.com", "10.0.0.1:5060");
    // empty: requests go straight to the phone's address.
    QString registrar;
    // The account's domain: the number is dialed as sip:<number>@<domain>.
    QString domain;
    // The account's user name, and the name it authenticates with (empty:
    // the user name).
    QString user;
    QString authUser;
    // The phone's own address ("sip:201@10.0.0.7:5062" or "201" on the
    // account's domain).
    QString phoneAddress;
    Transport transport = Transport::Udp;
    // Register an extra contact for the account so that incoming calls are
    // forked to Telvaro as well and their callers shown.
    bool registerForCallerId = false;
    // Seconds the phone has to answer, and the number to be reached.
    int dialTimeout = 30;
    // The local address and port to use ("127.0.0.1:5080"); empty: any.
    QString localAddress;

    QString displayName() const;
    // The user name the account authenticates with.
    QString authName() const;
    // A key naming the account in the keyring: "<user>@<domain or registrar>".
    QString keyringKey() const;
    // The phone's address as a SIP URI ("sip:201@domain"), empty when none
    // can be made.
    QString phoneUri() const;
    // The account's own address ("sip:user@domain").
    QString accountUri() const;
    // The registrar as a SIP URI with the transport, empty when none is set.
    QString registrarUri() const;
    // Brings every field into its valid range (values from a hand-edited file).
    void normalize();

    bool operator==(const SipAccount&) const = default;
};

QString transportName(SipAccount::Transport t);

// The SIP phones of the line layer's configuration file (the modems' file,
// paths::telephonyConfigFile(), unless `file` is given). The password is
// never in the file: it lives in the desktop's keyring.
//
//   [SipPhones]
//   Count=1
//   [SipPhone0]
//   Name=Desk phone
//   Registrar=pbx.example.com
//   Domain=example.com
//   User=201
//   AuthUser=
//   Phone=sip:201@10.0.0.7
//   Transport=UDP
//   RegisterForCallerId=1
//   DialTimeout=30
//   LocalAddress=
std::vector<SipAccount> loadSipAccounts(const QString& file = QString());

// Writes the list as the configuration's SIP phones, keeping every other
// section of the file; fails with the reason when it could not be written.
Result saveSipAccounts(const std::vector<SipAccount>& accounts, const QString& file = QString());

// What went wrong last with a SIP phone in this run, a sentence naming the
// account ("Desk phone: the registrar refused the password."); empty when
// its last call or registration went well. The phones' dialog shows it.
QString sipProblem(const SipAccount& account);
void setSipProblem(const SipAccount& account, const QString& problem);

} // namespace telvaro
