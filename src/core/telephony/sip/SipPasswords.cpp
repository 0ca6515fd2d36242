// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/sip/SipPasswords.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace telvaro {
namespace {

Q_LOGGING_CATEGORY(lcSecrets, "telvaro.sip")

} // namespace

QString SipPasswords::keyringService()
{
    return QStringLiteral("Telvaro SIP phone");
}

void SipPasswords::remember(const SipAccount& account, const QString& password)
{
    m_known[account.keyringKey()] = password;
    m_declined.erase(account.keyringKey());
}

void SipPasswords::forget(const SipAccount& account)
{
    m_known.erase(account.keyringKey());
}

void SipPasswords::fetch(const SipAccount& account, QObject* context, Answer done)
{
    const QString key = account.keyringKey();
    const auto it = m_known.find(key);
    if (it != m_known.end() || m_declined.count(key)) {
        const std::optional<QString> password =
            it != m_known.end() ? std::optional<QString>(it->second) : std::nullopt;
        QTimer::singleShot(0, context, [done, password] { done(password); });
        return;
    }
    auto& waiters = m_waiting[key];
    waiters.push_back(Waiter{context, std::move(done)});
    if (waiters.size() > 1)
        return; // the lookup under way answers it too
    auto* job = new QKeychain::ReadPasswordJob(keyringService());
    job->setAutoDelete(true);
    job->setKey(key);
    QPointer<QObject> alive(&m_alive);
    QObject::connect(
        job, &QKeychain::Job::finished, job, [this, alive, key, account](QKeychain::Job* j) {
            if (!alive || !m_waiting.count(key))
                return; // gone meanwhile
            if (j->error() == QKeychain::NoError) {
                m_keyringMissing = false;
                answer(key, static_cast<QKeychain::ReadPasswordJob*>(j)->textData());
                return;
            }
            if (j->error() == QKeychain::EntryNotFound) {
                m_keyringMissing = false;
                ask(account, QCoreApplication::translate("telvaro::SipPasswords",
                                                         "The keyring holds no password for %1.")
                                 .arg(account.displayName()));
                return;
            }
            qCWarning(lcSecrets) << "no keyring for" << account.displayName() << ":"
                                 << j->errorString();
            m_keyringMissing = true;
            ask(account, QCoreApplication::translate(
                             "telvaro::SipPasswords",
                             "No keyring service is available to keep the password of %1, "
                             "so Telvaro asks for it once each time it runs.")
                             .arg(account.displayName()));
        });
    job->start();
}

void SipPasswords::ask(const SipAccount& account, const QString& why)
{
    const QString key = account.keyringKey();
    if (!m_asker) {
        answer(key, std::nullopt);
        return;
    }
    // Asked from the event loop, never from inside the caller.
    QTimer::singleShot(0, &m_alive, [this, account, why, key] {
        if (m_waiting.count(key))
            m_asker->askPassword(*this, account, why);
    });
}

void SipPasswords::answerAsked(const SipAccount& account, std::optional<QString> password)
{
    const QString key = account.keyringKey();
    if (!password)
        m_declined[key] = true;
    answer(key, password);
}

void SipPasswords::answer(const QString& key, std::optional<QString> password)
{
    if (password)
        m_known[key] = *password;
    const auto it = m_waiting.find(key);
    if (it == m_waiting.end())
        return;
    const std::vector<Waiter> waiters = std::move(it->second);
    m_waiting.erase(it);
    for (const Waiter& w : waiters) {
        if (w.context)
            w.done(password);
    }
}

void SipPasswords::store(const SipAccount& account, const QString& password, QObject* context,
                         std::function<void(QString error)> done)
{
    remember(account, password);
    QPointer<QObject> guard(context);
    auto* job = new QKeychain::WritePasswordJob(keyringService());
    job->setAutoDelete(true);
    job->setKey(account.keyringKey());
    job->setTextData(password);
    QPointer<QObject> alive(&m_alive);
    QObject::connect(job, &QKeychain::Job::finished, job,
                     [this, alive, guard, done](QKeychain::Job* j) {
                         if (alive)
                             m_keyringMissing = j->error() != QKeychain::NoError;
                         if (guard)
                             done(j->error() == QKeychain::NoError ? QString() : j->errorString());
                     });
    job->start();
}

} // namespace telvaro
