// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramParts.h"

#include "core/calllog/CallLogFile.h"
#include "core/common/Prompter.h"
#include "core/dialing/Dialer.h"
#include "core/dialing/ExternalRequests.h"
#include "core/dialing/NumberTranslation.h"
#include "core/telephony/LineService.h"
#include "core/telephony/ProgramLineProviders.h"
#include "core/telephony/SoundPlayer.h"
#include "core/telephony/locations/LocationStore.h"
#include "gui/calllog/LogPrinting.h"
#include "gui/common/DialogPrompter.h"
#include "gui/options/FrmOptions.h"
#include "gui/shell/HelpWindow.h"
#include "gui/shell/TrayIcon.h"
#include "gui/telephony/locations/LineDialogs.h"
#include "gui/telephony/sip/SipPhoneDialog.h"
#include "settings/OptionsStore.h"

#include <QCoreApplication>

namespace telvaro {

namespace {

class EventLoopEnder final : public ProcessEnder
{
public:
    void endProcess() override { QCoreApplication::exit(0); }
};

} // namespace

// A call that conceals the caller's identity dials the current location's
// code first.
class ProgramParts::LocationBlockCode final : public BlockCodeSource
{
public:
    QString blockCallerIdCode() override
    {
        const TelephonyLocations locations = loadLocations();
        const DialingLocation* current = locations.currentLocation();
        return current ? current->blockCallerIdCode : QString();
    }
};

ProgramParts::ProgramParts(QObject* parent, PartDoubles doubles)
    : QObject(parent),
      m_ownPrompter(doubles.prompter ? nullptr : std::make_unique<DialogPrompter>()),
      m_prompter(doubles.prompter ? doubles.prompter : m_ownPrompter.get()),
      m_callLogs(std::make_unique<calllog::CallLogWriter>()),
      m_systemPrinters(doubles.printers ? nullptr : calllog::systemPrintDevices()),
      m_printers(doubles.printers ? doubles.printers : m_systemPrinters.get()),
      m_eventLoopEnder(std::make_unique<EventLoopEnder>()),
      m_ownSound(doubles.sound ? nullptr : makeProgramSoundPlayer()),
      m_sound(doubles.sound ? doubles.sound : m_ownSound.get()),
      m_blockCode(std::make_unique<LocationBlockCode>()),
      m_sipPrompt(std::make_unique<SipPasswordPrompt>(*m_prompter)),
      m_ownSipPasswords(doubles.sipPasswords ? nullptr
                                             : std::make_unique<SipPasswords>(m_sipPrompt.get())),
      m_sipPasswords(doubles.sipPasswords ? doubles.sipPasswords : m_ownSipPasswords.get()),
      m_ownProviders(doubles.providers ? nullptr
                                       : std::make_unique<ProgramLineProviders>(*m_sipPasswords)),
      m_line(std::make_unique<LineService>(doubles.providers ? doubles.providers
                                                             : m_ownProviders.get(),
                                           m_blockCode.get(), &m_profile, m_callLogs.get())),
      m_ownTranslation(std::make_unique<LineLayerTranslation>(*m_line)),
      m_translation(doubles.translation ? doubles.translation : m_ownTranslation.get()),
      m_dialer(std::make_unique<Dialer>(*m_line, *m_translation, *m_sound)),
      m_requests(std::make_unique<CallRequests>(*m_line, *m_dialer, *m_translation)),
      m_lineDialogs(std::make_unique<LineDialogs>(*m_line, *m_sipPasswords, *m_prompter)),
      m_tray(std::make_unique<TrayIcon>())
{
    m_line->followOptions(options());
    // A log that cannot be written is told to the user, with no window of
    // its own to sit on.
    connect(m_callLogs.get(), &calllog::CallLogWriter::writeFailed, this,
            [this](const QString& text) {
                showMessage(*m_prompter, nullptr, text, {}, MsgButtons::Ok, MsgIcon::Warning);
            });
    // The tray's picture follows the line's receiving.
    connect(m_line.get(), &LineService::receivingChanged, m_tray.get(),
            [this] { m_tray->setReceiving(m_line->isReceiving()); });
}

LineTranslation& ProgramParts::translation()
{
    return *m_translation;
}

ProgramParts::~ProgramParts()
{
    delete m_options.data();
    delete m_help.data();
}

FrmOptions& ProgramParts::optionsDialog()
{
    if (!m_options) {
        m_options = new FrmOptions(options(), *m_prompter, m_mainWindow);
        if (m_mainWindow)
            m_options->setWindowFlag(Qt::Dialog);
        connect(m_options, &FrmOptions::helpRequested, this,
                [this](const QString& topic) { showHelpTopic(topic); });
        // The line layer's dialogs belong to the options dialog.
        FrmOptions* dialog = m_options;
        connect(dialog, &FrmOptions::modemPropertiesRequested, this,
                [this, dialog](int device) { m_lineDialogs->showModemProperties(dialog, device); });
        connect(dialog, &FrmOptions::systemModemsRequested, this,
                [this, dialog] { m_lineDialogs->showSystemModems(dialog); });
        connect(dialog, &FrmOptions::dialingPropertiesRequested, this, [this, dialog] {
            m_lineDialogs->showDialingProperties(dialog, m_dialer->displayNumber());
        });
    }
    return *m_options;
}

HelpWindow& ProgramParts::showHelpTopic(const QString& topic)
{
    if (!m_help) {
        m_help = new HelpWindow;
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    HelpWindow& help = *m_help;
    help.showTopic(topic);
    if (help.isMinimized())
        help.showNormal();
    help.show();
    help.raise();
    help.activateWindow();
    return help;
}

HelpWindow* ProgramParts::helpWindow() const
{
    return m_help;
}

void ProgramParts::showHelp()
{
    showHelpTopic(QStringLiteral("contents"));
}

void ProgramParts::setMainWindow(QWidget& window)
{
    // A main window loaded again (New or Open Profile) takes the dialog over
    // from the one that goes.
    m_mainWindow = &window;
    if (m_options && m_options->parentWidget() != &window) {
        const bool shown = m_options->isVisible();
        m_options->setParent(&window, m_options->windowFlags());
        if (shown)
            m_options->show();
    }
    m_tray->setMainWindow(&window);
}

} // namespace telvaro
