// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/sip/SipProvider.h"

#include "core/telephony/sip/SipPasswords.h"
#include "core/telephony/sip/SipText.h"

#include "settings/Paths.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTimer>

#include <glib.h>
#include <sofia-sip/msg_header.h>
#include <sofia-sip/nua.h>
#include <sofia-sip/nua_tag.h>
#include <sofia-sip/sip_header.h>
#include <sofia-sip/sip_status.h>
#include <sofia-sip/sip_tag.h>
#include <sofia-sip/su_glib.h>
#include <sofia-sip/su_tag.h>
#include <sofia-sip/tport_tag.h>

#include <optional>
#include <set>

namespace telvaro {
namespace {

Q_LOGGING_CATEGORY(lcSip, "telvaro.sip")

// The library is set up once per process and stays.
bool initSofia()
{
    static const bool ok = [] {
        // The stack's own tracing stays off unless asked for.
        for (const char* var : {"SOFIA_DEBUG", "NUA_DEBUG", "NTA_DEBUG", "TPORT_DEBUG"}) {
            if (!qEnvironmentVariableIsSet(var))
                qputenv(var, "0");
        }
        return su_init() == 0;
    }();
    return ok;
}

QByteArray headerText(const sip_header_t* h)
{
    if (!h)
        return {};
    auto* home = static_cast<su_home_t*>(su_home_new(sizeof(su_home_t)));
    QByteArray out;
    if (char* s = sip_header_as_string(home, h))
        out = QByteArray(s);
    su_home_unref(home);
    return out;
}

// The raw value of a header the parser does not know (P-Asserted-Identity).
QByteArray unknownHeader(const sip_t* sip, const char* name)
{
    if (!sip)
        return {};
    QByteArray out;
    for (const sip_unknown_t* u = sip->sip_unknown; u; u = u->un_next) {
        if (u->un_name && u->un_value && qstricmp(u->un_name, name) == 0) {
            if (!out.isEmpty())
                out += ',';
            out += u->un_value;
        }
    }
    return out;
}

// The folder the stack reads TLS certificates from: it wants the trusted
// authorities as "cafile.pem" there, so that file points to the system's
// store. Empty when it cannot be made.
QByteArray tlsCertificateDir()
{
    const QString dir = paths::runtimeDir() + QStringLiteral("/sip-tls");
    const QString system = QStringLiteral("/etc/ssl/certs/ca-certificates.crt");
    const QString link = dir + QStringLiteral("/cafile.pem");
    if (!QDir().mkpath(dir) || !QFile::exists(system))
        return {};
    if (QFile::symLinkTarget(link) != system) {
        QFile::remove(link);
        if (!QFile::link(system, link))
            return {};
    }
    return QFile::encodeName(dir);
}

QString phraseOf(int status, const char* phrase)
{
    return QStringLiteral("%1 %2").arg(status).arg(QString::fromUtf8(phrase ? phrase : ""));
}

class SipLine;

// The user agent of one open line: sofia's root on the GLib loop and its nua.
// It outlives the line until the stack has shut down (registrations removed,
// calls ended), then deletes itself.
struct Agent
{
    su_root_t* root = nullptr;
    nua_t* nua = nullptr;
    SipLine* line = nullptr;
    bool down = false;
};

void agentCallback(nua_event_t event, int status, char const* phrase, nua_t* nua,
                   nua_magic_t* magic, nua_handle_t* nh, nua_hmagic_t* hmagic, sip_t const* sip,
                   tagi_t tags[]);

class SipLine final : public QObject, public ProviderLine
{
public:
    SipLine(SipAccount account, LineSink* sink, SipPasswords& passwords)
        : m_account(std::move(account)), m_sink(sink), m_passwords(passwords)
    {
        m_dialTimer.setSingleShot(true);
        m_transferTimer.setSingleShot(true);
        m_registerRetry.setSingleShot(true);
        connect(&m_dialTimer, &QTimer::timeout, this, &SipLine::onDialTimeout);
        connect(&m_transferTimer, &QTimer::timeout, this, &SipLine::onTransferTimeout);
        connect(&m_registerRetry, &QTimer::timeout, this, &SipLine::registerContact);
    }

    ~SipLine() override
    {
        if (!m_agent)
            return;
        m_agent->line = nullptr;
        // The stack ends what is under way (BYE, CANCEL, un-REGISTER) and
        // then the agent goes.
        nua_shutdown(m_agent->nua);
    }

    LineResult start()
    {
        if (!initSofia())
            return LINEERR_NODRIVER;
        // The stack runs on the GLib main loop: Qt's loop must be that one
        // (it is on Linux, unless QT_NO_GLIB is set).
        const QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance();
        if (!loop || !loop->inherits("QEventDispatcherGlib")) {
            qCWarning(lcSip) << m_account.displayName()
                             << "needs the GLib event loop (unset QT_NO_GLIB)";
            return LINEERR_NODRIVER;
        }
        auto agent = std::make_unique<Agent>();
        agent->root = su_glib_root_create(nullptr);
        if (!agent->root)
            return LINEERR_NODRIVER;
        g_source_attach(su_glib_root_gsource(agent->root), nullptr);
        const QByteArray local = localUrl();
        const QByteArray from = m_account.accountUri().toUtf8();
        const QByteArray registrar = m_account.registrarUri().toUtf8();
        const QByteArray user = m_account.user.toUtf8();
        const QByteArray certificates =
            m_account.transport == SipAccount::Transport::Tls ? tlsCertificateDir() : QByteArray();
        agent->nua = nua_create(
            agent->root, agentCallback, reinterpret_cast<nua_magic_t*>(agent.get()),
            NUTAG_URL(local.constData()), SIPTAG_FROM_STR(from.constData()),
            NUTAG_M_USERNAME(user.isEmpty() ? "telvaro" : user.constData()),
            TAG_IF(!registrar.isEmpty(), NUTAG_PROXY(registrar.constData())),
            TAG_IF(!registrar.isEmpty(), NUTAG_REGISTRAR(registrar.constData())),
            NUTAG_MEDIA_ENABLE(0), NUTAG_AUTOALERT(0), NUTAG_AUTOANSWER(0), NUTAG_ENABLEMESSAGE(0),
            SIPTAG_USER_AGENT_STR("Telvaro"),
            // TLS verifies the server against the system's certificates.
            TAG_IF(!certificates.isEmpty(), TPTAG_TLS_VERIFY_POLICY(TPTLS_VERIFY_SUBJECTS_OUT)),
            TAG_IF(!certificates.isEmpty(), TPTAG_CERTIFICATE(certificates.constData())),
            TAG_END());
        if (!agent->nua) {
            qCWarning(lcSip) << m_account.displayName() << "cannot open its SIP transport on"
                             << local << "(address in use, or no TLS set-up)";
            su_root_destroy(agent->root);
            return LINEERR_RESOURCEUNAVAIL;
        }
        agent->line = this;
        m_agent = agent.release();
        // The password is looked up at once, so a challenge finds it ready.
        if (!m_account.registrar.isEmpty())
            fetchPassword({});
        return 0;
    }

    void onEvent(nua_event_t event, int status, const char* phrase, nua_handle_t* nh,
                 const sip_t* sip, tagi_t tags[]);

    void setReceiving(bool on) override
    {
        if (on == m_receiving)
            return;
        m_receiving = on;
        if (on) {
            registerContact();
        } else {
            m_registerRetry.stop();
            if (m_register && m_registered)
                nua_unregister(m_register, TAG_END());
            endIncoming(false);
        }
    }

    LineResult makeCall(HCALL call, quint32 requestId, const QString& address,
                        const LineCallParams& params) override
    {
        Q_UNUSED(params);
        if (m_out)
            return LINEERR_CALLUNAVAIL;
        if (m_account.phoneUri().isEmpty() || !m_agent)
            return LINEERR_RESOURCEUNAVAIL;
        const bool more = address.trimmed().endsWith(QLatin1Char(';'));
        if (!more && !sip::sipNumber(address))
            return LINEERR_INVALADDRESS;
        // A call offered now is no longer ours to show.
        endIncoming(true);
        Outgoing out;
        out.call = call;
        m_out = out;
        const LineResult r = addPiece(requestId, address);
        if (r != 0)
            m_out.reset(); // refused: the call does not exist
        return r;
    }

    LineResult dial(HCALL call, quint32 requestId, const QString& address) override
    {
        if (!m_out || m_out->call != call)
            return LINEERR_INVALCALLHANDLE;
        // Only the pieces of a long number, before it goes out whole.
        if (m_out->nh || m_out->leg != Leg::Inviting || m_out->done)
            return LINEERR_INVALCALLSTATE;
        return addPiece(requestId, address);
    }

    LineResult drop(HCALL call, quint32 requestId) override
    {
        if (m_in && m_in->call == call) {
            // Not answered here: it may ring on at the other phones.
            m_in->call = 0;
            m_sink->reply(requestId, 0);
            m_sink->callState(call, LINECALLSTATE_IDLE);
            return 0;
        }
        if (!m_out || m_out->call != call)
            return LINEERR_INVALCALLHANDLE;
        replyPending(LINEERR_OPERATIONFAILED);
        endLeg();
        m_out.reset();
        m_dialTimer.stop();
        m_transferTimer.stop();
        m_sink->reply(requestId, 0);
        m_sink->callState(call, LINECALLSTATE_IDLE);
        return 0;
    }

    void release(HCALL call) override
    {
        if (m_in && m_in->call == call) {
            m_in->call = 0;
            return;
        }
        if (!m_out || m_out->call != call)
            return;
        endLeg();
        m_out.reset();
        m_dialTimer.stop();
        m_transferTimer.stop();
    }

private:
    enum class Leg { Inviting, Answered, Ended };
    struct Outgoing
    {
        HCALL call = 0;
        quint32 request = 0;        // the make-call request awaiting its reply
        nua_handle_t* nh = nullptr; // none until the whole number is known
        QString pieces;             // the dial string's pieces so far
        QString number;
        Leg leg = Leg::Inviting;
        bool referred = false;
        bool proceeding = false;
        bool done = false; // the outcome was reported
        int inviteAuth = 0;
        int referAuth = 0;
    };
    struct Incoming
    {
        HCALL call = 0; // 0: nobody took it, or it was dropped
        nua_handle_t* nh = nullptr;
    };

    QByteArray localUrl() const
    {
        QByteArray host = m_account.localAddress.toUtf8();
        if (host.isEmpty())
            host = "*:*";
        else if (!host.contains(':'))
            host += ":*";
        switch (m_account.transport) {
        case SipAccount::Transport::Tcp:
            return "sip:" + host + ";transport=tcp";
        case SipAccount::Transport::Tls:
            return "sips:" + host;
        case SipAccount::Transport::Udp:
            break;
        }
        return "sip:" + host + ";transport=udp";
    }

    void sendInvite()
    {
        // No media: the phone is asked for a call without audio; it answers
        // by itself where it honours the auto-answer hints.
        static const char sdp[] = "v=0\r\n"
                                  "o=telvaro 1 1 IN IP4 0.0.0.0\r\n"
                                  "s=Telvaro\r\n"
                                  "c=IN IP4 0.0.0.0\r\n"
                                  "t=0 0\r\n"
                                  "m=audio 9 RTP/AVP 0 8\r\n"
                                  "a=inactive\r\n";
        const QByteArray host =
            (m_account.domain.isEmpty() ? QStringLiteral("localhost") : m_account.domain).toUtf8();
        const QByteArray callInfo = "<sip:" + host + ">;answer-after=0";
        nua_invite(m_out->nh, SIPTAG_CALL_INFO_STR(callInfo.constData()),
                   SIPTAG_HEADER_STR("Alert-Info: <http://127.0.0.1>;info=alert-autoanswer"),
                   SIPTAG_CONTENT_TYPE_STR("application/sdp"), SIPTAG_PAYLOAD_STR(sdp), TAG_END());
    }

    QByteArray referTo() const
    {
        QString host = m_account.domain;
        if (host.isEmpty()) {
            // The phone's own host.
            QString phone = m_account.phoneUri();
            phone = phone.mid(phone.indexOf(QLatin1Char(':')) + 1);
            host = phone.mid(phone.indexOf(QLatin1Char('@')) + 1);
            host = host.left(host.indexOf(QLatin1Char(';')));
        }
        return ("<sip:" + sip::uriUser(m_out->number) + QLatin1Char('@') + host + QLatin1Char('>'))
            .toUtf8();
    }

    // A piece of the dial string: one ending in ";" waits for the next (the
    // phone is asked for the whole number in one REFER), the last places
    // the call.
    LineResult addPiece(quint32 requestId, const QString& piece)
    {
        QString text = piece.trimmed();
        const bool more = text.endsWith(QLatin1Char(';'));
        if (more)
            text.chop(1);
        const QString collected = m_out->pieces + text;
        if (more) {
            m_out->pieces = collected;
            m_sink->reply(requestId, 0);
            return 0;
        }
        const std::optional<QString> number = sip::sipNumber(collected);
        if (!number)
            return LINEERR_INVALADDRESS;
        const QByteArray phone = m_account.phoneUri().toUtf8();
        nua_handle_t* nh =
            nua_handle(m_agent->nua, nullptr, SIPTAG_TO_STR(phone.constData()), TAG_END());
        if (!nh)
            return LINEERR_NOMEM;
        m_out->nh = nh;
        m_out->request = requestId;
        m_out->number = *number;
        sendInvite();
        m_sink->callState(m_out->call, LINECALLSTATE_DIALING);
        m_dialTimer.start(m_account.dialTimeout * 1000);
        return 0;
    }

    void replyPending(LineResult result)
    {
        if (!m_out || !m_out->request)
            return;
        const quint32 r = std::exchange(m_out->request, 0);
        m_sink->reply(r, result);
    }

    void reportProceeding()
    {
        if (m_out && !m_out->proceeding) {
            m_out->proceeding = true;
            m_sink->callState(m_out->call, LINECALLSTATE_PROCEEDING);
        }
    }

    // The phone did not take our call: the request fails, the user is told.
    void phoneRefused(const QString& reason)
    {
        const QString problem =
            QCoreApplication::translate("telvaro::SipProvider",
                                        "the phone %1 did not take the call (%2).")
                .arg(m_account.phoneUri(), reason);
        qCWarning(lcSip).noquote() << m_account.displayName() << "-" << problem;
        setSipProblem(m_account, problem);
        m_dialTimer.stop();
        if (!m_out)
            return;
        m_out->done = true;
        if (m_out->request) {
            replyPending(LINEERR_CALLUNAVAIL);
        } else {
            m_sink->callState(m_out->call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_UNAVAIL);
        }
    }

    // The outcome of the transferred call.
    void transferEnded(quint32 state, quint32 mode)
    {
        if (!m_out || m_out->done)
            return;
        m_out->done = true;
        m_transferTimer.stop();
        // The program starts its connection wait at "proceeding", as a
        // modem reports it once it has dialed; here the far end's answer is
        // known, so it comes then, and a busy or failed number comes first.
        if (state == LINECALLSTATE_CONNECTED) {
            reportProceeding();
            m_sink->callState(m_out->call, LINECALLSTATE_CONNECTED);
        } else
            m_sink->callState(m_out->call, LINECALLSTATE_DISCONNECTED, mode);
        // The phone has the call now (or nothing to do): our leg ends.
        endLeg();
    }

    // Ends our leg to the phone: CANCEL while it rings, BYE once answered.
    void endLeg()
    {
        if (!m_out || !m_out->nh)
            return;
        nua_handle_t* nh = std::exchange(m_out->nh, nullptr);
        if (m_out->leg == Leg::Inviting)
            nua_cancel(nh, TAG_END());
        else if (m_out->leg == Leg::Answered)
            nua_bye(nh, TAG_END());
        if (m_out->leg == Leg::Ended) {
            nua_handle_destroy(nh);
        } else {
            m_ending.insert(nh);
        }
        m_out->leg = Leg::Ended;
    }

    void onDialTimeout()
    {
        if (!m_out || m_out->leg != Leg::Inviting)
            return;
        phoneRefused(
            QCoreApplication::translate("telvaro::SipProvider", "no answer within %1 seconds")
                .arg(m_account.dialTimeout));
        endLeg();
    }

    void onTransferTimeout()
    {
        qCWarning(lcSip) << m_account.displayName() << "- no report of the transferred call";
        transferEnded(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_UNAVAIL);
    }

    void onInviteResponse(int status, const char* phrase, const sip_t* sip)
    {
        if (status < 200)
            return;
        if (status == 401 || status == 407) {
            if (authenticate(m_out->nh, sip, &m_out->inviteAuth))
                return;
            phoneRefused(
                QCoreApplication::translate("telvaro::SipProvider", "the password was refused (%1)")
                    .arg(phraseOf(status, phrase)));
            m_out->leg = Leg::Ended;
            return;
        }
        if (status >= 300) {
            m_out->leg = Leg::Ended;
            phoneRefused(phraseOf(status, phrase));
            return;
        }
        // The phone answered: it is asked to call the number.
        m_dialTimer.stop();
        m_out->leg = Leg::Answered;
        setSipProblem(m_account, {});
        replyPending(0);
        const QByteArray target = referTo();
        nua_refer(m_out->nh, SIPTAG_REFER_TO_STR(target.constData()), TAG_END());
        m_out->referred = true;
        m_transferTimer.start(SipProvider::kTransferTimeoutMs);
    }

    void onReferResponse(int status, const char* phrase, const sip_t* sip)
    {
        if (status < 200)
            return;
        if (status == 401 || status == 407) {
            if (authenticate(m_out->nh, sip, &m_out->referAuth))
                return;
        }
        if (status >= 300) {
            const QString problem =
                QCoreApplication::translate("telvaro::SipProvider",
                                            "the phone refused to call the number (%1).")
                    .arg(phraseOf(status, phrase));
            qCWarning(lcSip).noquote() << m_account.displayName() << "-" << problem;
            setSipProblem(m_account, problem);
            transferEnded(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_UNAVAIL);
            return;
        }
    }

    void onNotify(const sip_t* sip)
    {
        if (!sip || !sip->sip_payload || !sip->sip_content_type || !sip->sip_content_type->c_type ||
            qstricmp(sip->sip_content_type->c_type, "message/sipfrag") != 0)
            return;
        const QByteArray body(sip->sip_payload->pl_data,
                              qsizetype(std::min<usize_t>(sip->sip_payload->pl_len, 4096)));
        const std::optional<int> status = sip::sipfragStatus(body);
        if (!status)
            return;
        switch (sip::progressOf(*status)) {
        case sip::Progress::Proceeding:
            return; // still dialing
        case sip::Progress::Ringing:
            if (!m_out->done)
                m_sink->callState(m_out->call, LINECALLSTATE_RINGBACK);
            return;
        case sip::Progress::Connected:
            transferEnded(LINECALLSTATE_CONNECTED, 0);
            return;
        case sip::Progress::Busy:
            transferEnded(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_BUSY);
            return;
        case sip::Progress::BadNumber:
            transferEnded(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_BADADDRESS);
            return;
        case sip::Progress::NoAnswer:
            transferEnded(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NOANSWER);
            return;
        case sip::Progress::Failed:
            transferEnded(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_UNAVAIL);
            return;
        }
    }

    // Answers a digest challenge with the account's password; false when the
    // password was refused already (or there is none).
    bool authenticate(nua_handle_t* nh, const sip_t* sip, int* tries)
    {
        if (!sip || *tries >= 1)
            return false;
        const msg_auth_t* au =
            sip->sip_www_authenticate ? sip->sip_www_authenticate : sip->sip_proxy_authenticate;
        if (!au || !au->au_scheme)
            return false;
        const char* realm = msg_params_find(au->au_params, "realm=");
        ++*tries;
        const QByteArray prefix = QByteArray(au->au_scheme) + ':' +
                                  QByteArray(realm ? realm : "\"\"") + ':' +
                                  m_account.authName().toUtf8() + ':';
        fetchPassword([this, nh, prefix](std::optional<QString> password) {
            if (!m_agent || !owns(nh))
                return;
            if (!password) {
                setSipProblem(m_account,
                              QCoreApplication::translate("telvaro::SipProvider",
                                                          "no password was given for it."));
                nua_cancel(nh, TAG_END());
                return;
            }
            const QByteArray auth = prefix + password->toUtf8();
            nua_authenticate(nh, NUTAG_AUTH(auth.constData()), TAG_END());
        });
        return true;
    }

    bool owns(nua_handle_t* nh) const { return (m_out && m_out->nh == nh) || nh == m_register; }

    void fetchPassword(std::function<void(std::optional<QString>)> then)
    {
        m_passwords.fetch(m_account, this, [then](std::optional<QString> p) {
            if (then)
                then(p);
        });
    }

    // ------------------------------------------------------------ incoming

    void registerContact()
    {
        if (!m_receiving || !m_account.registerForCallerId || m_account.registrar.isEmpty() ||
            !m_agent)
            return;
        if (!m_register) {
            const QByteArray aor = m_account.accountUri().toUtf8();
            m_register = nua_handle(m_agent->nua, nullptr, SIPTAG_TO_STR(aor.constData()),
                                    SIPTAG_FROM_STR(aor.constData()), TAG_END());
        }
        m_registerAuth = 0;
        nua_register(m_register, TAG_END());
    }

    void onRegisterResponse(int status, const char* phrase, const sip_t* sip)
    {
        if (status < 200)
            return;
        if (status < 300) {
            if (!m_registered)
                qCInfo(lcSip) << m_account.displayName() << "is registered for caller ID";
            m_registered = true;
            m_registerAuth = 0;
            setSipProblem(m_account, {});
            return;
        }
        if ((status == 401 || status == 407) && authenticate(m_register, sip, &m_registerAuth))
            return;
        m_registered = false;
        QString why = phraseOf(status, phrase);
        if (status == 401 || status == 407 || status == 403)
            why = QCoreApplication::translate("telvaro::SipProvider",
                                              "the password or user name was refused (%1)")
                      .arg(why);
        else if (status == 408 || status == 503)
            why = QCoreApplication::translate("telvaro::SipProvider",
                                              "the registrar %1 cannot be reached (%2)")
                      .arg(m_account.registrar, why);
        qCWarning(lcSip).noquote() << m_account.displayName() << "- registration failed:" << why;
        setSipProblem(m_account, QCoreApplication::translate("telvaro::SipProvider",
                                                             "registration failed: %1.")
                                     .arg(why));
        if (m_receiving)
            m_registerRetry.start(SipProvider::kRegisterRetryMs);
    }

    void onIncomingInvite(nua_handle_t* nh, const sip_t* sip)
    {
        // One call is shown at a time; one of ours going out takes the line.
        if (!m_receiving || m_out || m_in) {
            nua_respond(nh, SIP_486_BUSY_HERE, TAG_END());
            m_ending.insert(nh);
            return;
        }
        nua_respond(nh, SIP_180_RINGING, TAG_END());
        m_in = Incoming{};
        m_in->nh = nh;
        m_in->call = m_sink->incomingCall(LINEMEDIAMODE_INTERACTIVEVOICE);
        QTimer::singleShot(SipProvider::kMaxRingMs, this, [this, nh] {
            if (m_in && m_in->nh == nh)
                endIncoming(true);
        });
        if (!m_in->call)
            return;
        m_sink->callState(m_in->call, LINECALLSTATE_OFFERING);
        const sip::CallerIdentity id = sip::callerIdentity(
            unknownHeader(sip, "P-Asserted-Identity"),
            headerText(reinterpret_cast<const sip_header_t*>(sip ? sip->sip_from : nullptr)));
        quint32 flags = 0;
        if (id.withheld)
            flags |= LINECALLPARTYID_BLOCKED;
        if (!id.number.isEmpty())
            flags |= LINECALLPARTYID_ADDRESS;
        if (!id.name.isEmpty())
            flags |= LINECALLPARTYID_NAME;
        if (!flags)
            flags = LINECALLPARTYID_UNKNOWN;
        m_sink->callerId(m_in->call, flags, id.number, id.name, QString(), QString());
    }

    // The offered call is over: cancelled by the caller or answered elsewhere
    // (`respond`: we end our branch ourselves).
    void endIncoming(bool respond)
    {
        if (!m_in)
            return;
        const Incoming in = *m_in;
        m_in.reset();
        if (respond) {
            nua_respond(in.nh, SIP_480_TEMPORARILY_UNAVAILABLE, TAG_END());
            m_ending.insert(in.nh);
        }
        if (in.call) {
            m_sink->callState(in.call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
            m_sink->callState(in.call, LINECALLSTATE_IDLE);
        }
    }

    SipAccount m_account;
    LineSink* m_sink;
    SipPasswords& m_passwords;
    Agent* m_agent = nullptr;
    std::optional<Outgoing> m_out;
    std::optional<Incoming> m_in;
    std::set<nua_handle_t*> m_ending; // handles whose last transaction runs
    nua_handle_t* m_register = nullptr;
    bool m_receiving = false;
    bool m_registered = false;
    int m_registerAuth = 0;
    QTimer m_dialTimer;
    QTimer m_transferTimer;
    QTimer m_registerRetry;
};

void SipLine::onEvent(nua_event_t event, int status, const char* phrase, nua_handle_t* nh,
                      const sip_t* sip, tagi_t tags[])
{
    int callState = -1;
    tl_gets(tags, NUTAG_CALLSTATE_REF(callState), TAG_END());
    const bool terminated = event == nua_i_state && callState == nua_callstate_terminated;

    if (nh && m_out && m_out->nh == nh) {
        switch (event) {
        case nua_r_invite:
            onInviteResponse(status, phrase, sip);
            break;
        case nua_r_refer:
            onReferResponse(status, phrase, sip);
            break;
        case nua_i_notify:
            onNotify(sip);
            break;
        case nua_i_bye:
            // The phone hung up on us (as phones do once they have the
            // transferred call). Before the transfer it is a refusal.
            m_out->leg = Leg::Ended;
            if (!m_out->referred)
                phoneRefused(
                    QCoreApplication::translate("telvaro::SipProvider", "the phone hung up"));
            break;
        default:
            if (terminated && m_out->leg != Leg::Answered)
                m_out->leg = Leg::Ended;
            break;
        }
        return;
    }
    if (event == nua_i_invite) {
        onIncomingInvite(nh, sip);
        return;
    }
    if (nh && m_in && m_in->nh == nh) {
        if (event == nua_i_cancel || terminated) {
            const HCALL call = m_in->call;
            m_in.reset();
            m_ending.insert(nh);
            if (call) {
                m_sink->callState(call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
                m_sink->callState(call, LINECALLSTATE_IDLE);
            }
            if (terminated) {
                m_ending.erase(nh);
                nua_handle_destroy(nh);
            }
        }
        return;
    }
    if (nh && nh == m_register) {
        if (event == nua_r_register)
            onRegisterResponse(status, phrase, sip);
        else if (event == nua_r_unregister && status >= 200)
            m_registered = false;
        return;
    }
    if (nh && m_ending.count(nh)) {
        if (terminated || ((event == nua_r_bye || event == nua_r_cancel) && status >= 200) ||
            (event == nua_r_invite && status >= 200)) {
            if (event == nua_r_invite && status < 300)
                nua_bye(nh, TAG_END()); // the phone answered as we cancelled
            else if (terminated || event != nua_r_cancel) {
                m_ending.erase(nh);
                nua_handle_destroy(nh);
            }
        }
        return;
    }
    // Anything else the stack created for a request it handles itself
    // (OPTIONS, stray NOTIFY, ...) goes once it is done.
    if (nh && terminated && !owns(nh))
        nua_handle_destroy(nh);
}

void agentCallback(nua_event_t event, int status, char const* phrase, nua_t* nua,
                   nua_magic_t* magic, nua_handle_t* nh, nua_hmagic_t* hmagic, sip_t const* sip,
                   tagi_t tags[])
{
    Q_UNUSED(nua);
    Q_UNUSED(hmagic);
    auto* agent = reinterpret_cast<Agent*>(magic);
    if (!agent)
        return;
    if (event == nua_r_shutdown) {
        if (status < 200 || agent->down)
            return;
        agent->down = true;
        // Destroyed from the event loop, never from inside the stack.
        QTimer::singleShot(0, QCoreApplication::instance(), [agent] {
            nua_destroy(agent->nua);
            su_root_destroy(agent->root);
            delete agent;
        });
        return;
    }
    if (agent->line)
        agent->line->onEvent(event, status, phrase, nh, sip, tags);
}

} // namespace

SipProvider::SipProvider(SipPasswords& passwords)
    : m_accounts(loadSipAccounts()), m_passwords(passwords)
{
}

SipProvider::SipProvider(std::vector<SipAccount> accounts, SipPasswords& passwords)
    : m_accounts(std::move(accounts)), m_passwords(passwords)
{
}

QString SipProvider::providerName()
{
    return QStringLiteral("Telvaro SIP phone");
}

bool SipProvider::devCaps(int index, LineDevCaps* caps)
{
    if (index < 0 || index >= int(m_accounts.size()))
        return false;
    const SipAccount& a = m_accounts[size_t(index)];
    if (a.phoneUri().isEmpty())
        return false;
    caps->lineName = a.displayName();
    caps->providerInfo = providerName();
    caps->switchInfo = a.phoneUri();
    caps->numAddresses = 1;
    caps->maxNumActiveCalls = 1;
    caps->bearerModes = LINEBEARERMODE_VOICE;
    caps->mediaModes =
        LINEMEDIAMODE_UNKNOWN | LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM;
    return true;
}

std::unique_ptr<ProviderLine> SipProvider::open(int index, LineSink* sink, LineResult* error)
{
    if (index < 0 || index >= int(m_accounts.size())) {
        *error = LINEERR_BADDEVICEID;
        return nullptr;
    }
    // Changes made since the session began apply from the next open on.
    SipAccount account = m_accounts[size_t(index)];
    const auto fresh = loadSipAccounts();
    if (index < int(fresh.size()) && !fresh[size_t(index)].phoneUri().isEmpty())
        account = fresh[size_t(index)];
    auto line = std::make_unique<SipLine>(account, sink, m_passwords);
    const LineResult r = line->start();
    if (r != 0) {
        *error = r;
        return nullptr;
    }
    return line;
}

} // namespace telvaro
