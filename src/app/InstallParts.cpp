// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrmDialer.h"

// Each part of the program adds its include here, under its own heading.
// Dialing:
#include "gui/dialing/DialingWindows.h"
// Calls:
#include "core/calllog/CallLog.h"
#include "core/dialing/Dialer.h"
#include "gui/shell/TrayIcon.h"
// Telephony:
#include "core/dialing/ExternalRequests.h"
#include "core/telephony/LineService.h"
#include "gui/telephony/FrmCallDisplay.h"
// Records (directory, memo pad, call-log windows and retention, profiles):
#include "core/dialing/DialRequest.h"
#include "core/directory/DirectoryStore.h"
#include "gui/calllog/LogWindows.h"
#include "gui/dialing/DialPad.h"
#include "gui/directory/DirectoryView.h"
#include "gui/profiles/Profiles.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFile.h"
// Shell (options, tray, about box and help):
#include "app/ProgramParts.h"
#include "core/dialing/Dialer.h"
#include "core/options/Preferences.h"
#include "gui/options/FrmOptions.h"
#include "gui/shell/FrmAbout.h"
#include "gui/shell/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QPointer>

namespace telvaro {
namespace {

// Records: what the profile commands need of the main window and its parts.
class MainWindowProfileHost : public QObject, public ProfileHost
{
public:
    MainWindowProfileHost(FrmDialer& window, DirectoryView& directory,
                          calllog::LogWindows& logWindows)
        : QObject(&window), m_window(&window), m_directory(&directory), m_logWindows(&logWindows),
          m_dialer(&window.parts().dialer())
    {
    }

    QWidget* owner() const override { return m_window; }
    bool exiting() const override { return m_window && m_window->isExiting(); }
    void showProfileName(const QString& name) override
    {
        if (m_window)
            m_window->setProfileName(name);
    }
    bool closeProfileWindows() override
    {
        if (m_logWindows && !m_logWindows->closeAll())
            return false;
        if (m_directory) {
            m_directory->closeMemo();
            m_directory->closeEditor();
        }
        return true;
    }
    bool callInProgress() const override { return m_dialer->connectWindow().visible; }
    QStringList recentNumbers() const override { return m_dialer->keptRecentNumbers(); }

private:
    QPointer<FrmDialer> m_window;
    QPointer<DirectoryView> m_directory;
    QPointer<calllog::LogWindows> m_logWindows;
    Dialer* m_dialer;
};

// Records: the directory view in the main window's frame fraMain, its menus
// in the window's menu bar.
DirectoryView* installDirectoryView(FrmDialer& window)
{
    // The directory of the settings file in place, for this window's life.
    auto* store = new DirectoryStore(settings::file(), &window);
    auto* view = new DirectoryView(*store, window.parts().prompter());
    view->setBottomLeftInset(window.placeDirectory(view));
    window.addDirectoryMenus(view->editMenu(), view->viewMenuItems());
    view->setKeysFromWindow(true);
    return view;
}

// Records: the directory, the memo pad, the log windows and the profile
// commands, wired to the main window and to the dialer.
void installRecords(FrmDialer& window, DialPad& pad)
{
    using calllog::LogKind;
    using calllog::LogWindows;
    using profiles::ProfileOperation;

    DirectoryView* view = installDirectoryView(window);
    QObject::connect(&options(), &OptionsStore::optionClicked, view,
                     [view](OptionsStore::Option o) {
                         if (o == OptionsStore::optIndex)
                             view->showIndexTabs();
                         else if (o == OptionsStore::optSubject)
                             view->showSubjectTabs();
                     });
    QObject::connect(&window, &FrmDialer::tabModeLoaded, view, &DirectoryView::showStartupTabs);
    QObject::connect(
        &window, &FrmDialer::keyPressed, view,
        [view](int key, Qt::KeyboardModifiers modifiers) { view->keyDown(key, modifiers); });
    QObject::connect(&window, &FrmDialer::letterTyped, view, &DirectoryView::letterJump);
    QObject::connect(view, &DirectoryView::dialingPadToggleRequested, &window,
                     &FrmDialer::toggleDialingPad);
    QObject::connect(&pad, &DialPad::numberEdited, view, [view] { view->setButtonsEnabled(true); });
    // The directory's Edit menu works on the pad's number box.
    QObject::connect(view, &DirectoryView::padSelectionWanted, &pad,
                     [view, &pad] { view->setPadSelection(pad.selectedNumber()); });
    QObject::connect(view, &DirectoryView::padSelectionDeleteRequested, &pad,
                     &DialPad::deleteSelectedNumber);

    Dialer& calls = window.parts().dialer();
    QObject::connect(view, &DirectoryView::dialRequested, &calls, &Dialer::dial);
    QObject::connect(view, &DirectoryView::padNumberWanted, &calls, &Dialer::showInPad);
    QObject::connect(&calls, &Dialer::dialStarting, view, &DirectoryView::closeEditor);
    // The memo pad of the entry called opens, unless one is open already.
    QObject::connect(&calls, &Dialer::memoRequested, view, [view](const QString& key) {
        if (!view->memoShown())
            view->openMemo(key);
    });
    // Requests of other programs wait while the memo pad is open.
    QObject::connect(view, &DirectoryView::memoOpenChanged, &window.parts().requests(),
                     &CallRequests::setMemoOpen);

    ProgramParts& lasting = window.parts();
    auto* logs = new LogWindows(
        {lasting.prompter(), lasting.printDevices(), lasting.profile(), lasting.callLogs()},
        &window);
    QObject::connect(&window, &FrmDialer::outLogRequested, logs,
                     [logs] { logs->show(LogKind::Outgoing); });
    QObject::connect(&window, &FrmDialer::inLogRequested, logs,
                     [logs] { logs->show(LogKind::Incoming); });
    QObject::connect(&window, &FrmDialer::printOutLogRequested, logs,
                     [logs] { logs->print(LogKind::Outgoing); });
    QObject::connect(&window, &FrmDialer::printInLogRequested, logs,
                     [logs] { logs->print(LogKind::Incoming); });
    QObject::connect(
        logs, &LogWindows::returnCallRequested, &calls,
        [&calls](const QString& number, const QString& name) {
            calls.showInPad(number);
            calls.dial(DialRequest{number, name, QStringLiteral("0"), DialOrigin::LogWindow});
        });
    QObject::connect(logs, &LogWindows::memoRequested, view,
                     [view](const QString& key) { view->openMemo(key); });
    // Help and the about box are the main window's.
    QObject::connect(logs, &LogWindows::helpRequested, &window, &FrmDialer::helpRequested);
    QObject::connect(logs, &LogWindows::aboutRequested, &window, &FrmDialer::aboutRequested);

    auto* host = new MainWindowProfileHost(window, *view, *logs);
    auto* profileCommands = new Profiles(*host, lasting.prompter(), lasting.profile(), &window);
    QObject::connect(&window, &FrmDialer::newProfileRequested, profileCommands,
                     &Profiles::newProfile);
    QObject::connect(&window, &FrmDialer::openProfileRequested, profileCommands,
                     &Profiles::openProfile);
    QObject::connect(&window, &FrmDialer::saveProfileAsRequested, profileCommands,
                     &Profiles::saveAs);
    QObject::connect(&window, &FrmDialer::profileSaveAtExit, profileCommands,
                     [profileCommands](bool quiet) { (void)profileCommands->saveAtExit(quiet); });
    QObject::connect(&window, &FrmDialer::profileSaveRequested, profileCommands, &Profiles::save);
    QObject::connect(profileCommands, &Profiles::reloadRequested, &window,
                     &FrmDialer::profileReloadRequested);
}

} // namespace

namespace {

// Shell: the program's lasting parts (options dialog, tray icon, help) and
// the about box serve the main window loaded now; the window's menus reach
// them, and the window shows the effects of the receive setting.
void installShell(FrmDialer& window)
{
    if (QApplication::windowIcon().isNull() ||
        QApplication::windowIcon().availableSizes().isEmpty())
        QApplication::setWindowIcon(programIcon());
    ProgramParts& parts = window.parts();
    parts.setMainWindow(window);
    installPreferences();
    TrayIcon& tray = parts.tray();
    installTray(tray, window);
    tray.useMenu(window.trayMenu());
    QObject::connect(&tray, &TrayIcon::restoreWanted, &window, &FrmDialer::restoreWindow);

    QObject::connect(&window, &FrmDialer::optionsRequested, &window,
                     [&parts] { parts.optionsDialog().showOptions(); });
    QObject::connect(&window, &FrmDialer::helpRequested, &window, [&parts] { parts.showHelp(); });
    QObject::connect(&window, &FrmDialer::aboutRequested, &window,
                     [&window, &parts] { showAbout(parts.prompter(), &window); });
    QObject::connect(&window, &FrmDialer::restoreRequested, &window, &FrmDialer::restoreWindow);
    QObject::connect(&window, &FrmDialer::trayIconWanted, &tray, [&tray](bool shown) {
        if (shown)
            tray.add();
        else
            tray.remove();
    });

    // Receiving calls: the receive item's caption and the incoming log's
    // menu items follow the receive box.
    QObject::connect(&options(), &OptionsStore::checkClicked, &window,
                     [&window](OptionsStore::Check c) {
                         if (c != OptionsStore::chkCallDisplay)
                             return;
                         const bool receiving = options().isChecked(OptionsStore::chkCallDisplay);
                         window.setReceiveCaption(receiving);
                         window.setInLogAvailable(receiving);
                     });
}

} // namespace

// Every part hands its widgets to the main window (placePad, placeDirectory,
// addDirectoryMenus) and connects to what the user asks of it through the
// window's signals here, under its own heading; the parts themselves are the
// program's (window.parts()). Runs once per main window, before start-up
// (formLoad).
void installParts(FrmDialer& window)
{
    ProgramParts& parts = window.parts();
    Dialer& calls = parts.dialer();

    // Dialing (dial procedure, call window, dialing pad):
    auto* padPlace = new QWidget;
    DialPad& pad = installDialingWindows(*padPlace, window, calls, parts.sound());
    window.placePad(padPlace);

    // Calls: the dial brings the main window up (or minimizes it for a
    // number handed over) and lets it take input again after the tones.
    QObject::connect(&calls, &Dialer::mainWindowWanted, &window, [&window](bool minimized) {
        if (minimized)
            window.showMinimized();
        if (!window.isMinimized())
            window.restoreWindow();
    });
    QObject::connect(&calls, &Dialer::mainWindowReleased, &window,
                     [&window] { window.setEnabled(true); });
    // A call taken gets its record in the outgoing log.
    auto* callLog = new CallLog(window.parts().profile(), window.parts().callLogs(), &window);
    QObject::connect(&calls, &Dialer::callEnded, callLog, &CallLog::recordOutgoing);

    // Telephony (line session, call control, incoming calls, outside requests):
    // the line refused a drop: the main window takes input again, so the
    // user is not locked out.
    QObject::connect(&parts.line().call(), &Call::dropRefused, &window,
                     [&window] { window.setEnabled(true); });
    // Caller display, incoming log, and the receive switch: the tray menu's
    // receive item, handed over as a command the window triggers.
    auto* receiveSwitch = new QAction(&window);
    QObject::connect(&window, &FrmDialer::receiveSwitchRequested, receiveSwitch, &QAction::trigger);
    installIncomingCalls(window, *receiveSwitch, parts.line(), parts.sound());

    // Records (directory, memo pad, call-log windows, profiles):
    installRecords(window, pad);

    // Shell (options dialog, tray, about box and help):
    installShell(window);
}

} // namespace telvaro
