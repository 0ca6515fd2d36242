#include "telephony/sip/SipPasswords.h"

#include <QTimer>

namespace telvaro {

SipPasswords& SipPasswords::instance()
{
    static SipPasswords p;
    return p;
}

QString SipPasswords::keyringService()
{
    return QStringLiteral("Telvaro SIP phone");
}

void SipPasswords::reset()
{
    m_known.clear();
    m_keyringMissing = false;
    m_asker = nullptr;
}

void SipPasswords::remember(const SipAccount& account, const QString& password)
{
    m_known[account.keyringKey()] = password;
}

void SipPasswords::forget(const SipAccount& account)
{
    m_known.erase(account.keyringKey());
}

void SipPasswords::fetch(const SipAccount& account, QObject* context, Answer done)
{
    const auto it = m_known.find(account.keyringKey());
    if (it != m_known.end()) {
        const QString password = it->second;
        QTimer::singleShot(0, context, [done, password] { done(password); });
        return;
    }
    ask(account, QStringLiteral("No keyring holds the password of %1.").arg(account.displayName()),
        context, std::move(done));
}

void SipPasswords::ask(const SipAccount& account, const QString& why, QObject* context, Answer done)
{
    QPointer<QObject> guard(context);
    if (!m_asker) {
        QTimer::singleShot(0, context, [done] { done(std::nullopt); });
        return;
    }
    m_asker(account, why, [this, account, guard, done](std::optional<QString> answer) {
        if (answer)
            remember(account, *answer);
        if (guard)
            done(answer);
    });
}

void SipPasswords::store(const SipAccount& account, const QString& password, QObject* context,
                         std::function<void(QString error)> done)
{
    remember(account, password);
    QTimer::singleShot(0, context, [done] { done(QString()); });
}

} // namespace telvaro
