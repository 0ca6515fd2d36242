// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrmDialer.h"

#include "app/ProgramParts.h"
#include "core/common/Helpers.h"
#include "core/common/Prompter.h"
#include "core/dialing/Dialer.h"
#include "core/dialing/ExternalRequests.h"
#include "core/options/Preferences.h"
#include "core/telephony/LineService.h"
#include "gui/common/Twips.h"
#include "gui/directory/DirectoryView.h"
#include "gui/shell/TrayIcon.h"
#include "gui/telephony/locations/LineDialogs.h"
#include "settings/OptionsStore.h"
#include "settings/Paths.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace telvaro {

namespace {

// The lasting parts of a window made on its own: they go with it.
ProgramParts* makeOwnParts()
{
    return new ProgramParts;
}

constexpr int kToggleButtonSize = 255; // twips

QAction* addItem(QMenu* menu, const QString& caption, const QString& name,
                 const QKeySequence& shortcut = {}, bool enabled = true)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setEnabled(enabled);
    return action;
}

} // namespace

FrmDialer::FrmDialer(ProgramParts* parts, profiles::ProfileOperation loadedBy, ProcessEnder* ender)
    : m_parts(parts ? parts : makeOwnParts()), m_ender(ender ? ender : &m_parts->eventLoopEnder())
{
    if (!parts)
        m_parts->setParent(this);
    setObjectName(QStringLiteral("FrmDialer"));
    setWindowTitle(QStringLiteral("Telvaro"));
    setWindowIconText(windowTitle());
    buildMenus();
    buildFrames();
    wireMenus();

    // As designed: the pad shown, the window 4800 twips wide, near the top
    // left of the screen (start-up then shows or hides the pad, which moves
    // the window by the pad's width).
    setFixedSize(twipsToPixelsX(kWidthWithPad), twipsToPixelsY(kDesignedHeight));
    layoutFrames();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + twipsToPixelsX(kPadWidth) + 48, area.top() + 48);
    }

    // Made by New or Open Profile: known now, should the start-up run later.
    m_profileLoad = loadedBy != profiles::ProfileOperation::None;

    qApp->installEventFilter(this);

    installParts(*this);
}

FrmDialer::~FrmDialer() = default;

void FrmDialer::buildMenus()
{
    QMenuBar* bar = menuBar();

    mnuFile = bar->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = addItem(mnuFile, tr("&New Profile"), QStringLiteral("mnuNew"),
                     QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuOpen = addItem(mnuFile, tr("&Open Profile"), QStringLiteral("mnuOpen"),
                      QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSave = addItem(mnuFile, tr("&Save Profile"), QStringLiteral("mnuSave"),
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAs = addItem(mnuFile, tr("Save Profile &As"), QStringLiteral("mnuSaveAs"));
    mnuPrintOutLog = addItem(mnuFile, tr("&Print Outgoing Calls Log"),
                             QStringLiteral("mnuPrintOutLog"), QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuPrintInLog =
        addItem(mnuFile, tr("Print &Incoming Calls Log"), QStringLiteral("mnuPrintInLog"),
                QKeySequence(Qt::CTRL | Qt::Key_Q), false);
    mnuFile->addSeparator();
    mnuExit = addItem(mnuFile, tr("E&xit"), QStringLiteral("mnuExit"));

    mnuView = bar->addMenu(tr("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuHide = addItem(mnuView, tr(kHidePadCaption), QStringLiteral("mnuHide"));
    mnuView->addSeparator();
    mnuOutLog = addItem(mnuView, tr("&Outgoing Calls Log"), QStringLiteral("mnuOutLog"));
    mnuInLog = addItem(mnuView, tr("I&ncoming Calls Log"), QStringLiteral("mnuInLog"), {}, false);

    mnuSettings = bar->addMenu(tr("&Tools"));
    mnuSettings->setObjectName(QStringLiteral("mnuSettings"));
    mnuOptions = addItem(mnuSettings, tr("&Options"), QStringLiteral("mnuOptions"));
    mnuDialProperties =
        addItem(mnuSettings, tr("&Dialing Properties"), QStringLiteral("mnuDialProperties"));

    mnuHelp = bar->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpTopics = addItem(mnuHelp, tr("&Help Topics"), QStringLiteral("mnuHelpTopics"));
    mnuHelp->addSeparator();
    mnuHelpAbout = addItem(mnuHelp, tr("&About Telvaro"), QStringLiteral("mnuHelpAbout"));

    //: The tray icon's menu
    mnuSystray = new QMenu(tr("&Systray"), this);
    mnuSystray->setObjectName(QStringLiteral("mnuSystray"));
    mPopRestore = addItem(mnuSystray, tr("&Restore"), QStringLiteral("mPopRestore"));
    mnuReceive = addItem(mnuSystray, tr("&Automatic Receive"), QStringLiteral("mnuReceive"));
    mnuSystray->addSeparator();
    mPopExit = addItem(mnuSystray, tr("&Exit"), QStringLiteral("mPopExit"));
}

void FrmDialer::buildFrames()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);

    fraPad = new QFrame(central);
    fraPad->setObjectName(QStringLiteral("fraPad"));
    fraMain = new QFrame(central);
    fraMain->setObjectName(QStringLiteral("fraMain"));

    cmdHide = new QToolButton(fraMain);
    cmdHide->setObjectName(QStringLiteral("cmdHide"));
    cmdHide->setArrowType(Qt::LeftArrow);
    cmdHide->setToolTip(tr("Hide Dialing Pad"));
    cmdHide->setAccessibleName(tr("Hide Dialing Pad"));
    cmdShow = new QToolButton(fraMain);
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdShow->setArrowType(Qt::RightArrow);
    cmdShow->setToolTip(tr("Show Dialing Pad"));
    cmdShow->setAccessibleName(tr("Show Dialing Pad"));
    cmdShow->setVisible(false);
    for (QToolButton* b : {cmdHide, cmdShow}) {
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(twipsToPixelsX(kToggleButtonSize), twipsToPixelsY(kToggleButtonSize));
    }
}

void FrmDialer::wireMenus()
{
    connect(mnuHide, &QAction::triggered, this, [this] { toggleDialingPad(); });
    connect(cmdHide, &QToolButton::clicked, this, [this] { toggleDialingPad(); });
    connect(cmdShow, &QToolButton::clicked, this, [this] { toggleDialingPad(); });

    connect(mnuDialProperties, &QAction::triggered, this, [this] {
        m_parts->lineDialogs().showDialingProperties(this, m_parts->dialer().displayNumber());
    });
    connect(mPopExit, &QAction::triggered, this, [this] { close(); });
    connect(mnuExit, &QAction::triggered, this, [this] { exitProgram(); });

    connect(mnuNew, &QAction::triggered, this, &FrmDialer::newProfileRequested);
    connect(mnuOpen, &QAction::triggered, this, &FrmDialer::openProfileRequested);
    connect(mnuSave, &QAction::triggered, this, &FrmDialer::profileSaveRequested);
    connect(mnuSaveAs, &QAction::triggered, this, &FrmDialer::saveProfileAsRequested);
    connect(mnuOutLog, &QAction::triggered, this, &FrmDialer::outLogRequested);
    connect(mnuInLog, &QAction::triggered, this, &FrmDialer::inLogRequested);
    connect(mnuPrintOutLog, &QAction::triggered, this, &FrmDialer::printOutLogRequested);
    connect(mnuPrintInLog, &QAction::triggered, this, &FrmDialer::printInLogRequested);
    connect(mnuOptions, &QAction::triggered, this, &FrmDialer::optionsRequested);
    connect(mnuHelpTopics, &QAction::triggered, this, &FrmDialer::helpRequested);
    connect(mnuHelpAbout, &QAction::triggered, this, &FrmDialer::aboutRequested);
    connect(mPopRestore, &QAction::triggered, this, &FrmDialer::restoreRequested);
    // A visible window in normal state needs no "&Restore"; a minimised one
    // or one hidden in the tray does.
    connect(mnuSystray, &QMenu::aboutToShow, this,
            [this] { mPopRestore->setVisible(!isVisible() || isMinimized()); });
    connect(mnuReceive, &QAction::triggered, this, &FrmDialer::receiveSwitchRequested);
}

void FrmDialer::placePad(QWidget* pad)
{
    auto* layout = new QVBoxLayout(fraPad);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pad);
}

void FrmDialer::restoreWindow()
{
    restoreMainWindow(this);
    if (m_directory)
        m_directory->focusTabs();
}

int FrmDialer::placeDirectory(DirectoryView* directory)
{
    auto* layout = new QVBoxLayout(fraMain);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(directory);
    m_directory = directory;
    // The window's pad buttons stay on top, at the left of the bottom row.
    cmdHide->raise();
    cmdShow->raise();
    return cmdHide->width();
}

void FrmDialer::addDirectoryMenus(QMenu* edit, const QList<QAction*>& viewItems)
{
    menuBar()->insertMenu(mnuView->menuAction(), edit);
    mnuView->insertActions(mnuHide, viewItems);
}

void FrmDialer::setReceiveCaption(bool automatic)
{
    mnuReceive->setText(receiveCaption(automatic));
}

void FrmDialer::setInLogAvailable(bool available)
{
    mnuInLog->setEnabled(available);
    mnuPrintInLog->setEnabled(available);
}

bool FrmDialer::padShown() const
{
    return !fraPad->isHidden();
}

int FrmDialer::fraMainLeftTwips() const
{
    return pixelsToTwipsX(fraMain->x());
}

void FrmDialer::layoutFrames()
{
    QWidget* central = centralWidget();
    const int height = central->height();
    const int padWidth = twipsToPixelsX(kPadWidth);
    const int mainLeft = padShown() ? padWidth : 0;
    fraPad->setGeometry(0, 0, padWidth, height);
    fraMain->setGeometry(mainLeft, 0, std::max(0, central->width() - mainLeft), height);
    const int button = twipsToPixelsX(kToggleButtonSize);
    for (QToolButton* b : {cmdHide, cmdShow})
        b->move(0, std::max(0, height - button));
}

void FrmDialer::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutFrames();
}

void FrmDialer::toggleDialingPad()
{
    // The item's caption (as shown, in the user's language) says what it does.
    const QString caption = mnuHide->text();
    const int shift = twipsToPixelsX(kPadWidth);
    if (caption == tr(kHidePadCaption)) {
        // Hide: the directory keeps its place on the screen.
        fraPad->setVisible(false);
        setFixedWidth(twipsToPixelsX(kWidthWithoutPad));
        move(x() + shift, y());
        layoutFrames();
        cmdShow->setVisible(true);
        cmdHide->setVisible(false);
        setPadToggleCaption(false);
    } else if (caption == tr(kShowPadCaption)) {
        fraPad->setVisible(true);
        move(x() - shift, y());
        setFixedWidth(twipsToPixelsX(kWidthWithPad));
        layoutFrames();
        cmdHide->setVisible(true);
        cmdShow->setVisible(false);
        setPadToggleCaption(true);
    }
}

void FrmDialer::setPadToggleCaption(bool hides)
{
    mnuHide->setText(hides ? tr(kHidePadCaption) : tr(kShowPadCaption));
}

// ---------------------------------------------------------------- start-up

void FrmDialer::formLoad(const QString& commandLine)
{
    // New and Open Profile load the window again within the running program.
    const bool reload = m_profileLoad;
    LineService& line = m_parts->line();

    // The command line, with one leading "/" removed.
    m_commandNumber = commandLine.startsWith(QLatin1Char('/')) ? commandLine.mid(1) : commandLine;

    // First instance: a telephony session left by a run that did not end
    // through the exit sequence is cleaned up; numbers from other programs
    // reach this window from now on.
    line.cleanUpStaleSession();
    m_hooked = true;

    checkSettingsFile();
    // An exit asked for while start-up waited for the user (a signal during
    // a message box) has ended the program: start-up goes no further.
    if (m_exiting)
        return;

    setProfileName(settings::profileNameFromFileName(
        settings::read(settings::kProfileSection, QStringLiteral("Name"))));

    applyDialingPadSetting();
    applyTabMode();
    loadRecentNumbers();

    if (m_exiting)
        return;
    line.initialize();
    (void)line.queryDevice(options().selectedLineDevice());

    // A stored value that differs from its control runs the control's click
    // reaction (receiving, the registration for requests from other
    // programs); after a reload the controls kept their states, so what did
    // not run is done afterwards for the new session.
    bool receiveReacted = false;
    bool commandReacted = false;
    const QMetaObject::Connection watch =
        connect(&options(), &OptionsStore::checkClicked, this, [&](OptionsStore::Check c) {
            receiveReacted = receiveReacted || c == OptionsStore::chkCallDisplay;
            commandReacted = commandReacted || c == OptionsStore::chkCommand;
        });
    applyPreferences(settings::file(), options());
    disconnect(watch);
    const QString callDisplay =
        settings::read(settings::kPreferencesSection, QStringLiteral("Call Display"));
    if (!callDisplay.isEmpty()) {
        setReceiveCaption(settings::oneValue(callDisplay).value_or(false));
    }
    if (reload)
        resumeLineAfterReload(receiveReacted, commandReacted);

    if (m_exiting)
        return;

    if (options().isChecked(OptionsStore::chkIcon)) {
        setFixedHeight(twipsToPixelsY(kTrayHeight));
        show();
        repaint();
        Q_EMIT trayIconWanted(true);
    }

    if (!reload)
        setWindowState(windowState() | Qt::WindowMinimized);
    show();

    unsetCursor();

    if (!m_commandNumber.isEmpty() && options().isChecked(OptionsStore::chkCommand))
        dialOutsideNumber(m_commandNumber, DialOrigin::CommandLine);
}

void FrmDialer::resumeLineAfterReload(bool receiveReacted, bool commandReacted)
{
    // The session of the window before was shut down with its line: with
    // receiving on, the line is opened again as the receive box's click does.
    if (!receiveReacted && options().isChecked(OptionsStore::chkCallDisplay))
        Q_EMIT options().checkClicked(OptionsStore::chkCallDisplay);
    if (!commandReacted)
        m_parts->line().setRequestRecipient(options().isChecked(OptionsStore::chkCommand));
}

void FrmDialer::unloadForReload()
{
    // The session ends as at exit (a call still held is written then).
    m_parts->line().close();
    m_parts->line().shutdown();
    m_reloading = true;
    close(); // Form_Unload: with a profile command running, only the tray icon goes
    hide();
    deleteLater();
}

void FrmDialer::checkSettingsFile()
{
    const settings::FileCheck check = settings::checkFile();
    if (check.result != settings::CheckResult::Failed)
        return;
    showMessage(m_parts->prompter(), this,
                tr("Telvaro cannot use its settings file.\n%1\n\nSettings and changes "
                   "to the directory will not be kept.")
                    .arg(check.error),
                {}, MsgButtons::Ok, MsgIcon::Warning);
}

void FrmDialer::setProfileName(const QString& name)
{
    m_parts->profile().setName(name);
    const QString quoted = QLatin1Char('"') + name + QLatin1Char('"');
    //: Main window title; %1 is the profile name in quotes
    setWindowTitle(tr("Telvaro - %1").arg(quoted));
    // Minimized, the window is known by this text (screen readers too).
    setWindowIconText(windowTitle());
    //: File menu: save the profile; %1 is its name in quotes
    mnuSave->setText(tr("&Save %1").arg(quoted));
    if (name == QLatin1String("Untitled"))
        //: File menu: save the Untitled profile under a name
        mnuSaveAs->setText(tr("Save  &As"));
    else
        //: File menu: save the profile under another name; %1 is its name in quotes
        mnuSaveAs->setText(tr("Save %1 &As").arg(quoted));
}

void FrmDialer::applyDialingPadSetting()
{
    const std::optional<int> pad = settings::checkValue(
        settings::read(settings::kPreferencesSection, QStringLiteral("Dialing Pad")));
    if (pad)
        options().setCheck(OptionsStore::chkPad, *pad);
    setPadToggleCaption(!options().isChecked(OptionsStore::chkPad));
    toggleDialingPad();
}

void FrmDialer::applyTabMode()
{
    const bool subject =
        settings::oneValue(settings::read(settings::kPreferencesSection, QStringLiteral("Mode")))
            .value_or(false);
    // The directory checks the menu item of the mode.
    options().select(subject ? OptionsStore::optSubject : OptionsStore::optIndex);
    Q_EMIT tabModeLoaded(subject);
}

void FrmDialer::loadRecentNumbers()
{
    const QStringList numbers = settings::readRecentNumbers(settings::file());
    m_parts->dialer().setRecentNumbers(numbers.mid(0, Dialer::kRecentNumbersKept));
    m_parts->dialer().showInPad(numbers.value(0));
}

// -------------------------------------------------------------------- exit

void FrmDialer::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_exiting || m_unloaded)
        return;
    if (m_reloading) {
        // New or Open Profile loads the window again: the tray icon goes now
        // and comes back with the new window. (Closed by the user while the
        // command still asks its questions, the window exits as always.)
        m_unloaded = true;
        Q_EMIT trayIconWanted(false);
        return;
    }
    exitProgram();
}

void FrmDialer::exitProgram(ExitMode mode)
{
    if (mode == ExitMode::NoQuestions)
        m_noQuestions = true;
    if (m_exiting) {
        // Asked again while the sequence runs (a signal during the profile
        // question): whatever waits for the user ends now, taken as No.
        if (mode == ExitMode::NoQuestions)
            QCoreApplication::exit(0);
        return;
    }
    m_exiting = true;
    m_parts->line().call().stopRequested = true; // ends the waits of a call in progress

    m_parts->line().close();
    m_parts->line().shutdown();

    Q_EMIT trayIconWanted(false);

    for (const QString& text : m_retention.pruneLogs(m_parts->profile().name())) {
        if (m_noQuestions)
            std::fprintf(stderr, "telvaro: %s\n", qPrintable(text));
        else
            showMessage(m_parts->prompter(), this, text, {}, MsgButtons::Ok, MsgIcon::Warning);
    }

    Q_EMIT instanceRecordReleased();

    // Recent numbers and the receive setting, in one write.
    {
        IniFile& ini = settings::file();
        IniFile::Batch batch(ini);
        settings::writeRecentNumbers(ini, recentNumbers());
        ini.write(settings::kPreferencesSection, QStringLiteral("Call Display"),
                  options().isChecked(OptionsStore::chkCallDisplay) ? QStringLiteral("1")
                                                                    : QStringLiteral("0"));
        if (!batch.commit()) {
            const QString text =
                tr("Telvaro could not save the recent numbers.\n%1").arg(ini.lastError());
            if (m_noQuestions)
                std::fprintf(stderr, "telvaro: %s\n", qPrintable(text));
            else
                showMessage(m_parts->prompter(), this, text, {}, MsgButtons::Ok, MsgIcon::Warning);
        }
    }

    if (m_parts->profile().named()) {
        Q_EMIT profileSaveAtExit(m_noQuestions);
    } else if (!m_noQuestions) {
        const MsgResult answer = showMessage(
            m_parts->prompter(), this, tr("Profile has not been saved.\nSave before exiting?"),
            tr("Saving profile Untitled"), MsgButtons::YesNo, MsgIcon::Question);
        if (answer == MsgResult::Yes && !m_noQuestions)
            Q_EMIT profileSaveRequested();
    }

    m_hooked = false;

    hide();
    m_ender->endProcess();
}

// ---------------------------------------------------------- other starts

void FrmDialer::receiveFromOtherInstance(int tag, const QString& text)
{
    if (m_exiting)
        return;
    if (tag == 1) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        showNormal();
        raise();
        activateWindow();
    } else if (tag == 3) {
        if (!options().isChecked(OptionsStore::chkCommand) || text.isEmpty())
            return;
        // The window is not hidden: the dial minimises it for an outside
        // number, and with nothing to dial it stays where the user can reach it.
        dialOutsideNumber(text, DialOrigin::SecondStart);
    }
}

void FrmDialer::dialOutsideNumber(const QString& number, DialOrigin origin)
{
    m_parts->dialer().dial(outsideDialRequest(number, QString(), origin, m_parts->translation()));
}

QStringList FrmDialer::recentNumbers() const
{
    return m_parts->dialer().keptRecentNumbers();
}

bool FrmDialer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    // A key the focused widget ignores travels on to its parents; the window
    // takes each key press once, on its first stop.
    if (event == m_lastKeyEvent && m_lastKeyReceiver &&
        m_lastKeyReceiver->parentWidget() == widget) {
        m_lastKeyReceiver = widget;
        return false;
    }
    m_lastKeyEvent = event;
    m_lastKeyReceiver = widget;

    auto* key = static_cast<QKeyEvent*>(event);
    Q_EMIT keyPressed(key->key(), key->modifiers() &
                                      (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    // With Ctrl or Alt held a key is a command, not a letter to jump to.
    const QString text = key->text();
    if (text.size() == 1 && text.at(0).isPrint() &&
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        Q_EMIT letterTyped(text.at(0));
    return false;
}

} // namespace telvaro
