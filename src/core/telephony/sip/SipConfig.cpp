// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/sip/SipConfig.h"

#include "settings/IniFile.h"
#include "settings/Paths.h"

#include <algorithm>
#include <map>

namespace telvaro {
namespace {

const QString kPhones = QStringLiteral("SipPhones");
const QString kCount = QStringLiteral("Count");
constexpr int kMaxPhones = 64;

QString sectionOf(int index)
{
    return QStringLiteral("SipPhone%1").arg(index);
}

// Host names, users and addresses hold no blanks, line ends or brackets that
// would let a hand-edited file reshape a SIP header.
QString cleanToken(QString s)
{
    s = s.trimmed();
    QString out;
    for (const QChar c : s) {
        if (c.unicode() <= 0x20 || c == u'<' || c == u'>' || c == u'"' || c == u',' ||
            c.unicode() == 0x7f)
            continue;
        out += c;
    }
    return out;
}

} // namespace

QString transportName(SipAccount::Transport t)
{
    switch (t) {
    case SipAccount::Transport::Tcp:
        return QStringLiteral("TCP");
    case SipAccount::Transport::Tls:
        return QStringLiteral("TLS");
    case SipAccount::Transport::Udp:
        break;
    }
    return QStringLiteral("UDP");
}

QString SipAccount::displayName() const
{
    if (!name.trimmed().isEmpty())
        return name.trimmed();
    const QString host = domain.isEmpty() ? registrar : domain;
    return QStringLiteral("SIP phone %1@%2").arg(user, host);
}

QString SipAccount::authName() const
{
    return authUser.isEmpty() ? user : authUser;
}

QString SipAccount::keyringKey() const
{
    return authName() + QLatin1Char('@') + (domain.isEmpty() ? registrar : domain);
}

QString SipAccount::phoneUri() const
{
    if (phoneAddress.isEmpty())
        return {};
    const QString scheme =
        transport == Transport::Tls ? QStringLiteral("sips:") : QStringLiteral("sip:");
    QString uri = phoneAddress;
    if (uri.startsWith(QLatin1String("sip:"), Qt::CaseInsensitive) ||
        uri.startsWith(QLatin1String("sips:"), Qt::CaseInsensitive))
        return uri;
    if (!uri.contains(QLatin1Char('@'))) {
        if (domain.isEmpty())
            return scheme + uri; // a host: the phone answers on it
        uri += QLatin1Char('@') + domain;
    }
    return scheme + uri;
}

QString SipAccount::accountUri() const
{
    const QString host = domain.isEmpty() ? registrar : domain;
    return QStringLiteral("sip:%1@%2").arg(user, host);
}

QString SipAccount::registrarUri() const
{
    if (registrar.isEmpty())
        return {};
    QString uri = registrar;
    if (!uri.startsWith(QLatin1String("sip"), Qt::CaseInsensitive))
        uri =
            (transport == Transport::Tls ? QStringLiteral("sips:") : QStringLiteral("sip:")) + uri;
    if (transport == Transport::Tcp && !uri.contains(QLatin1String(";transport=")))
        uri += QStringLiteral(";transport=tcp");
    return uri;
}

void SipAccount::normalize()
{
    name = name.trimmed();
    name.remove(QLatin1Char('\r'));
    name.remove(QLatin1Char('\n'));
    registrar = cleanToken(registrar);
    domain = cleanToken(domain);
    user = cleanToken(user);
    authUser = cleanToken(authUser);
    phoneAddress = cleanToken(phoneAddress);
    localAddress = cleanToken(localAddress);
    dialTimeout = std::clamp(dialTimeout, 5, 300);
}

namespace {

std::map<QString, QString>& problems()
{
    static std::map<QString, QString> p;
    return p;
}

} // namespace

QString sipProblem(const SipAccount& account)
{
    const auto it = problems().find(account.keyringKey() + QLatin1Char('|') + account.phoneUri());
    return it == problems().end() ? QString() : it->second;
}

void setSipProblem(const SipAccount& account, const QString& problem)
{
    const QString key = account.keyringKey() + QLatin1Char('|') + account.phoneUri();
    if (problem.isEmpty())
        problems().erase(key);
    else
        problems()[key] = QStringLiteral("%1: %2").arg(account.displayName(), problem);
}

std::vector<SipAccount> loadSipAccounts(const QString& file)
{
    IniFile ini(file.isEmpty() ? paths::telephonyConfigFile() : file);
    bool ok = false;
    const int count = std::clamp(ini.read(kPhones, kCount).trimmed().toInt(&ok), 0, kMaxPhones);
    std::vector<SipAccount> out;
    for (int i = 0; ok && i < count; ++i) {
        const QString s = sectionOf(i);
        SipAccount a;
        a.name = ini.read(s, QStringLiteral("Name"));
        a.registrar = ini.read(s, QStringLiteral("Registrar"));
        a.domain = ini.read(s, QStringLiteral("Domain"));
        a.user = ini.read(s, QStringLiteral("User"));
        a.authUser = ini.read(s, QStringLiteral("AuthUser"));
        a.phoneAddress = ini.read(s, QStringLiteral("Phone"));
        const QString t = ini.read(s, QStringLiteral("Transport")).trimmed().toUpper();
        a.transport = t == QLatin1String("TCP")   ? SipAccount::Transport::Tcp
                      : t == QLatin1String("TLS") ? SipAccount::Transport::Tls
                                                  : SipAccount::Transport::Udp;
        a.registerForCallerId =
            ini.read(s, QStringLiteral("RegisterForCallerId")).trimmed() == u'1';
        bool timeoutOk = false;
        const int timeout = ini.read(s, QStringLiteral("DialTimeout")).trimmed().toInt(&timeoutOk);
        if (timeoutOk)
            a.dialTimeout = timeout;
        a.localAddress = ini.read(s, QStringLiteral("LocalAddress"));
        a.normalize();
        out.push_back(a);
    }
    return out;
}

Result saveSipAccounts(const std::vector<SipAccount>& accounts, const QString& file)
{
    IniFile ini(file.isEmpty() ? paths::telephonyConfigFile() : file);
    IniFile::Batch batch(ini);
    for (const QString& section : ini.sectionNames()) {
        if (section.startsWith(QStringLiteral("SipPhone"), Qt::CaseInsensitive))
            ini.removeSection(section);
    }
    ini.write(kPhones, kCount, QString::number(accounts.size()));
    for (size_t i = 0; i < accounts.size(); ++i) {
        SipAccount a = accounts[i];
        a.normalize();
        const QString s = sectionOf(int(i));
        ini.write(s, QStringLiteral("Name"), a.name);
        ini.write(s, QStringLiteral("Registrar"), a.registrar);
        ini.write(s, QStringLiteral("Domain"), a.domain);
        ini.write(s, QStringLiteral("User"), a.user);
        ini.write(s, QStringLiteral("AuthUser"), a.authUser);
        ini.write(s, QStringLiteral("Phone"), a.phoneAddress);
        ini.write(s, QStringLiteral("Transport"), transportName(a.transport));
        ini.write(s, QStringLiteral("RegisterForCallerId"),
                  a.registerForCallerId ? QStringLiteral("1") : QStringLiteral("0"));
        ini.write(s, QStringLiteral("DialTimeout"), QString::number(a.dialTimeout));
        ini.write(s, QStringLiteral("LocalAddress"), a.localAddress);
    }
    return batch.commit() ? Result::success() : Result::failure(ini.lastError());
}

} // namespace telvaro
