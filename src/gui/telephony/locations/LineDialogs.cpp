// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/telephony/locations/LineDialogs.h"

#include "core/common/Prompter.h"
#include "core/telephony/LineService.h"
#include "core/telephony/lineapi/ModemConfig.h"
#include "gui/telephony/locations/DialingPropertiesDialog.h"
#include "gui/telephony/locations/ModemDialogs.h"
#include "gui/telephony/sip/SipPhoneDialog.h"
#include "settings/OptionsStore.h"

namespace telvaro {

LineResult lineTranslateDialog(HLINEAPP /*lineApp*/, quint32 /*deviceId*/, quint32 /*apiVersion*/,
                               QWidget* owner, const QString& addressIn, Prompter& prompter)
{
    DialingPropertiesDialog dialog(addressIn, owner, prompter);
    dialog.exec();
    return 0;
}

LineResult lineConfigDialog(quint32 deviceId, QWidget* owner, const QString& deviceClass,
                            SipPasswords& passwords, Prompter& prompter)
{
    const QString cls = deviceClass.trimmed().toLower();
    if (!cls.isEmpty() && cls != u"comm" && cls != u"comm/datamodem" && cls != u"tapi/line")
        return LINEERR_INVALDEVICECLASS;

    std::vector<ModemSettings> modems = loadModems();
    // The SIP phones follow the modems.
    if (deviceId >= modems.size() && deviceId - modems.size() < loadSipAccounts().size()) {
        editSipPhone(int(deviceId - modems.size()), owner, passwords, prompter);
        return 0;
    }
    if (deviceId >= modems.size()) {
        const QString text =
            modems.empty()
                ? LineDialogs::tr("There is no modem set up yet.\n\nDo you want to set one up now?")
                : LineDialogs::tr("There is no line device %1: the modems set up are devices 0 "
                                  "to %2.\n\nDo you want to see the modems set up?")
                      .arg(deviceId)
                      .arg(modems.size() - 1);
        if (showMessage(prompter, owner, text, LineDialogs::tr("Modem Properties"),
                        MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes)
            lineConfigProvider(owner, 1, passwords, prompter);
        return LINEERR_BADDEVICEID;
    }

    ModemPropertiesDialog dialog(modems[deviceId], owner, systemSerialPorts(), prompter);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    // Another window may have changed the list meanwhile: change only this
    // device, as it is now.
    modems = loadModems();
    if (deviceId >= modems.size())
        modems.resize(deviceId + 1);
    modems[deviceId] = dialog.settings();
    if (const Result saved = saveModems(modems); !saved) {
        showMessage(
            prompter, owner,
            LineDialogs::tr("The modem properties could not be saved.\n\n%1").arg(saved.error),
            LineDialogs::tr("Modem Properties"), MsgButtons::Ok, MsgIcon::Critical);
        return LINEERR_OPERATIONFAILED;
    }
    return 0;
}

LineResult lineConfigProvider(QWidget* owner, quint32 permanentProviderId, SipPasswords& passwords,
                              Prompter& prompter)
{
    if (permanentProviderId != 1)
        return LINEERR_INVALPARAM;
    SystemModemsDialog dialog(passwords, prompter, owner);
    dialog.exec();
    return 0;
}

QString lastNumberCaption(const QString& lastNumber)
{
    QString number = lastNumber;
    if (number.size() > 66)
        number = number.left(55) + QStringLiteral("...");
    return LineDialogs::tr("Last number dialed:     %1").arg(number);
}

LineDialogs::LineDialogs(LineService& line, SipPasswords& passwords, Prompter& prompter,
                         QObject* parent)
    : QObject(parent), m_line(line), m_passwords(passwords), m_prompter(prompter)
{
}

void LineDialogs::showDialingProperties(QWidget* owner, const QString& lastNumber)
{
    lineTranslateDialog(0, 0, 0, owner, lastNumberCaption(lastNumber), m_prompter);
}

void LineDialogs::showModemProperties(QWidget* owner, int device)
{
    const std::vector<ModemSettings> before = loadModems();
    const std::vector<SipAccount> phones = loadSipAccounts();
    lineConfigDialog(quint32(std::max(device, 0)), owner, QStringLiteral("comm"), m_passwords,
                     m_prompter);
    if (loadModems() != before || loadSipAccounts() != phones)
        lineDevicesChanged();
}

void LineDialogs::showSystemModems(QWidget* owner)
{
    const std::vector<ModemSettings> before = loadModems();
    const std::vector<SipAccount> phones = loadSipAccounts();
    lineConfigProvider(owner, 1, m_passwords, m_prompter);
    if (loadModems() != before || loadSipAccounts() != phones)
        lineDevicesChanged();
}

// The modems set up changed: the line layer counts its devices again. Like an
// application told to re-initialise by the telephony service, the session is
// shut down and started again, so the device list shows the change at its
// next drop-down. An open line (receiving calls, or a call) keeps its
// session; the change then shows from the next start.
void LineDialogs::lineDevicesChanged()
{
    if (m_line.isOpen())
        return;
    m_line.shutdown();
    m_line.initialize();
    // The new session speaks with the devices in the version they agree on,
    // as at start-up; without it the first modem added could not be opened.
    (void)m_line.queryDevice(options().selectedLineDevice());
    // The registration for requests from other programs went with the old
    // session.
    if (options().isChecked(OptionsStore::chkCommand))
        m_line.setRequestRecipient(true);
}

} // namespace telvaro
