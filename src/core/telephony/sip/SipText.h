// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What Telvaro reads out of SIP messages itself: the status line of a
// transfer's progress report (message/sipfrag) and the caller's identity
// (P-Asserted-Identity, From), and how a dial string becomes the number the
// phone is asked to call. Everything here takes text from the network and
// must hold against any bytes.

#include <QByteArray>
#include <QString>

#include <optional>

namespace telvaro::sip {

// The status code (100..699) of the first line of a message/sipfrag body
// ("SIP/2.0 180 Ringing"); nullopt when the body does not start with a status
// line.
std::optional<int> sipfragStatus(const QByteArray& body);

// What a final or provisional status of the transferred call means.
enum class Progress { Proceeding, Ringing, Connected, Busy, BadNumber, NoAnswer, Failed };
Progress progressOf(int status);

// The caller of an incoming call.
struct CallerIdentity
{
    QString number;        // digits and + * #, or the SIP user name; empty: unknown
    QString name;          // display name; empty: none
    bool withheld = false; // the caller asked not to be shown ("anonymous")
};

// The caller from the P-Asserted-Identity header's value (may be empty or
// hold several addresses, a tel: one preferred) or else the From header's
// value. Names and numbers are cut to what a display can show and hold no
// control characters.
CallerIdentity callerIdentity(const QByteArray& assertedIdentity, const QByteArray& from);

// The longest number and name callerIdentity returns.
constexpr int kMaxNumberLength = 32;
constexpr int kMaxNameLength = 40;

// The number a translated dial string asks the phone to call: digits, +, *
// and #, with a modem's dialing method (T, P), its pauses and waits (, W @ $
// ! ?) and the usual punctuation dropped. nullopt when nothing dialable is
// left or when anything else is in it.
std::optional<QString> sipNumber(const QString& dialString);

// `number` as the user part of a SIP URI ("#" escaped).
QString uriUser(const QString& number);

} // namespace telvaro::sip
