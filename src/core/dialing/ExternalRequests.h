// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/DialRequest.h"
#include "settings/Result.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>

namespace telvaro {

// Numbers from outside the program: the command line, a later start of the
// program, and make-call requests of other programs over the D-Bus session
// bus. The requests wait in the line layer's queue, which lives as long as
// the process (a profile reload restarts the line session, not the queue).

inline const QString kDBusServiceName = QStringLiteral("org.telvaro.Telvaro");
inline const QString kDBusObjectPath = QStringLiteral("/org/telvaro/Telvaro");
inline const QString kDBusInterface = QStringLiteral("org.telvaro.Telvaro.AssistedTelephony");
inline const QString kErrorNoRequestRecipient =
    QStringLiteral("org.telvaro.Telvaro.Error.NoRequestRecipient");
inline const QString kErrorRequestQueueFull =
    QStringLiteral("org.telvaro.Telvaro.Error.RequestQueueFull");
inline const QString kErrorInvalidDestAddress =
    QStringLiteral("org.telvaro.Telvaro.Error.InvalidDestAddress");

// The longest destination a request may carry (the request record's field
// holds 80 bytes with its NUL).
constexpr int kMaxDestAddress = 79;
// The longest application name and called party, and the longest comment.
constexpr int kMaxRequestName = 39;
constexpr int kMaxRequestComment = 79;

// A make-call request of another program after its checks: the destination
// without the blanks around it, valid when it is 1 to kMaxDestAddress
// characters without control characters; the other texts without their
// control characters, cut to the sizes of the request record (39, 39 and 79)
// at whole characters.
struct CheckedRequest
{
    bool valid = false;
    QString destination;
    QString appName;
    QString calledParty;
    QString comment;
};

CheckedRequest checkMakeCallRequest(const QString& destAddress, const QString& appName,
                                    const QString& calledParty, const QString& comment);

class Dialer;
class LineService;
class LineTranslation;

// A number that starts with "+" keeps its meaning: in the country of the
// current dialing location it becomes a long-distance number of that
// country, elsewhere an international one (the location's prefixes), also
// while the dialing properties are ignored (a modem cannot dial "+"). Other
// numbers stay as they are.
QString dialableOutsideNumber(const QString& number, LineTranslation& translation);

// The dial of a number from outside the program: the number (with
// dialableOutsideNumber) and name without control characters, and no
// directory entry.
DialRequest outsideDialRequest(const QString& number, const QString& name, DialOrigin origin,
                               LineTranslation& translation);

// The requests of other programs that wait in the line layer's queue: each
// is taken and dialed when no call, no call window and no memo pad is
// active. A request that places no call (nothing left to dial, or dialed
// without a modem) is over when its dial returns, and the next one is taken.
class CallRequests : public QObject
{
    Q_OBJECT

public:
    CallRequests(LineService& line, Dialer& dialer, LineTranslation& translation,
                 QObject* parent = nullptr);

public Q_SLOTS:
    // Takes the next waiting request, when the program is free for it.
    void process();
    // The memo pad opened or closed: requests wait while it is open.
    void setMemoOpen(bool open);

private:
    LineService& m_line;
    Dialer& m_dialer;
    LineTranslation& m_translation;
    bool m_memoOpen = false;
};

// The D-Bus service of the running program: org.telvaro.Telvaro at
// /org/telvaro/Telvaro, method RequestMakeCall of
// org.telvaro.Telvaro.AssistedTelephony. It answers as soon as the request
// is queued.
class DialRequestService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.telvaro.Telvaro.AssistedTelephony")

public:
    explicit DialRequestService(QObject* parent = nullptr);
    ~DialRequestService() override;

    // Takes the service's name on `bus`, or fails with the reason.
    Result start(const QDBusConnection& bus);

public Q_SLOTS:
    Q_SCRIPTABLE void RequestMakeCall(const QString& destAddress, const QString& appName,
                                      const QString& calledParty, const QString& comment);

private:
    QString m_connectionName;
};

} // namespace telvaro
