// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/sip/SipConfig.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace telvaro {

class SipPasswords;

// Asks the user for an account's password the keyring cannot give.
class SipPasswordAsker
{
public:
    virtual ~SipPasswordAsker() = default;
    // `why` says why it is asked. The answer goes to
    // passwords.answerAsked(account, ...) (nullopt: cancelled), maybe later.
    virtual void askPassword(SipPasswords& passwords, const SipAccount& account,
                             const QString& why) = 0;
};

// The passwords of the SIP accounts. They live in the desktop's keyring
// (the Secret Service) and in memory for the run, never in a file. Without a
// keyring service the user is asked once per run, and told why.
class SipPasswords
{
public:
    using Answer = std::function<void(std::optional<QString>)>;

    // `asker` asks the user (it must outlive this); none: nobody can be
    // asked (the password is missing).
    explicit SipPasswords(SipPasswordAsker* asker = nullptr) : m_asker(asker) {}
    SipPasswords(const SipPasswords&) = delete;
    SipPasswords& operator=(const SipPasswords&) = delete;

    // The account's password: from memory, else the keyring, else the user.
    // `done` runs later on this thread, unless `context` is gone by then.
    void fetch(const SipAccount& account, QObject* context, Answer done);
    // Keeps a password for the rest of the run (not in the keyring).
    void remember(const SipAccount& account, const QString& password);
    // Forgets the run's copy (a password the server refused).
    void forget(const SipAccount& account);
    // Stores the password in the keyring (and for the run); `done` gets the
    // keyring's error, empty when it was stored.
    void store(const SipAccount& account, const QString& password, QObject* context,
               std::function<void(QString error)> done);

    // The user's answer to the asker's question about `account`.
    void answerAsked(const SipAccount& account, std::optional<QString> password);
    // The service name of the keyring entries.
    static QString keyringService();
    // Whether the last keyring access found no keyring service.
    bool keyringMissing() const { return m_keyringMissing; }

private:
    struct Waiter
    {
        QPointer<QObject> context;
        Answer done;
    };
    void ask(const SipAccount& account, const QString& why);
    void answer(const QString& key, std::optional<QString> password);

    std::map<QString, QString> m_known;
    // Accounts whose password is being looked up or asked for, with those
    // waiting for it: one question at a time per account.
    std::map<QString, std::vector<Waiter>> m_waiting;
    // Accounts the user declined to give a password for in this run.
    std::map<QString, bool> m_declined;
    bool m_keyringMissing = false;
    SipPasswordAsker* m_asker;
    // Keyring jobs and questions still under way end with it.
    QObject m_alive;
};

} // namespace telvaro
