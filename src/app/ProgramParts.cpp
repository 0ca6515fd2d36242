#include "app/ProgramParts.h"

#include "core/common/Prompter.h"
#include "gui/calllog/LogPrinting.h"
#include "gui/options/FrmOptions.h"
#include "gui/shell/HelpWindow.h"
#include "gui/shell/TrayIcon.h"

#include <QCoreApplication>

namespace telvaro {

namespace {

class EventLoopEnder final : public ProcessEnder
{
public:
    void endProcess() override { QCoreApplication::exit(0); }
};

} // namespace

ProgramParts::ProgramParts(Prompter* prompter, calllog::PrintDevices* printers)
    : m_prompter(prompter ? prompter : &telvaro::prompter()),
      m_systemPrinters(printers ? nullptr : calllog::systemPrintDevices()),
      m_printers(printers ? printers : m_systemPrinters.get()),
      m_eventLoopEnder(std::make_unique<EventLoopEnder>()), m_tray(std::make_unique<TrayIcon>())
{
}

ProgramParts::~ProgramParts()
{
    delete m_options.data();
    delete m_help.data();
}

FrmOptions& ProgramParts::optionsDialog()
{
    if (!m_options) {
        m_options = new FrmOptions(options(), m_mainWindow);
        if (m_mainWindow)
            m_options->setWindowFlag(Qt::Dialog);
        connect(m_options, &FrmOptions::helpRequested, this,
                [this](const QString& topic) { showHelpTopic(topic); });
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
