#pragma once

#include "core/common/CallOutcome.h"
#include "core/common/DialRequest.h"

#include <QObject>
#include <QString>

namespace telvaro {

// The calls' side of the call logs: a call the user took gets its one
// record in the outgoing log, from what its dial asked for (name, entry) and
// the number the call showed.
class CallLog : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

public Q_SLOTS:
    void recordOutgoing(const telvaro::DialRequest& request, const QString& displayNumber,
                        telvaro::CallOutcome outcome);
};

} // namespace telvaro
