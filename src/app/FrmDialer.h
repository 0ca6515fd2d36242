// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calllog/Retention.h"
#include "core/common/DialRequest.h"
#include "core/profiles/ProfileFiles.h"
#include "settings/OptionsStore.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QFrame;
class QMenu;
class QToolButton;
class QWidget;

namespace telvaro {

class DirectoryView;
class ProcessEnder;
class ProgramParts;

// The main window: the dialing pad on the left (fraPad), the speed-dial
// directory on the right (fraMain), the menus of the whole program and the
// start-up and exit of the program. Loading this window is the program's
// start-up (formLoad) and its exit is the program's end (exitProgram).
//
// The window keeps its controls to itself: the other parts of the program
// hand it their widgets and menus (placePad, placeDirectory,
// addDirectoryMenus) and connect to what the user asks for through its
// signals, in installParts() (InstallParts.cpp); the parts themselves belong
// to the program (ProgramParts). Its controls keep their object names
// (mnuFile, mnuNew, ..., fraPad, fraMain, cmdShow, cmdHide), by which a test
// finds them as a user does.
class FrmDialer : public QMainWindow
{
    Q_OBJECT

public:
    // Window geometry in twips.
    static constexpr int kPadWidth = 1920; // fraPad, and the move on toggling
    static constexpr int kWidthWithPad = 4800;
    static constexpr int kWidthWithoutPad = 2880;
    static constexpr int kTrayHeight = 5700; // height set when the tray option is on
    static constexpr int kDesignedHeight = 5700;

    // The captions of the pad's toggle item (source texts: shown translated).
    static constexpr const char* kShowPadCaption = QT_TR_NOOP("Show Dialing &Pad");
    static constexpr const char* kHidePadCaption = QT_TR_NOOP("Hide Dialing &Pad");

    // `parts`: the program's lasting parts (options dialog, tray, help); a
    // window given none makes its own. `loadedBy`: the profile command that
    // loads this window, None for the program's start. `ender`: how the
    // program ends once the exit sequence is done (it must outlive its use);
    // none: the event loop of the program's parts ends.
    explicit FrmDialer(ProgramParts* parts = nullptr,
                       profiles::ProfileOperation loadedBy = profiles::ProfileOperation::None,
                       ProcessEnder* ender = nullptr);
    explicit FrmDialer(profiles::ProfileOperation loadedBy, ProcessEnder* ender = nullptr)
        : FrmDialer(nullptr, loadedBy, ender)
    {
    }
    explicit FrmDialer(ProcessEnder& ender)
        : FrmDialer(nullptr, profiles::ProfileOperation::None, &ender)
    {
    }
    ~FrmDialer() override;

    ProgramParts& parts() const { return *m_parts; }

    // ---- What the other parts put into the window ----

    // The dialing pad goes into the frame at the left (fraPad).
    void placePad(QWidget* pad);
    // The directory goes into the frame at the right (fraMain), under the
    // window's own show/hide pad buttons at the left of its bottom row.
    // Returns the width those buttons take there.
    int placeDirectory(DirectoryView* directory);
    // The menu the tray icon opens ("&Systray": Restore, the receive switch,
    // Exit); the window shows "&Restore" only while it is minimised or hidden.
    QMenu* trayMenu() const { return mnuSystray; }
    // RestoreMainWindow: normal state, shown, in front, the focus on the
    // directory's tab strip (or the window when there is no directory).
    void restoreWindow();
    // The directory's menus: its Edit menu goes between File and View, its
    // tab items at the top of the View menu.
    void addDirectoryMenus(QMenu* edit, const QList<QAction*>& viewItems);

    // ---- Start-up and exit ----

    // The start-up sequence (Form_Load) after the single-instance handshake:
    // state, settings file check, profile name and captions, dialing pad, tab
    // mode, recent numbers, telephony, preferences, tray, window state, and the
    // dial of a number given on the command line (`commandLine`, with one
    // leading "/" removed).
    void formLoad(const QString& commandLine);

    enum class ExitMode {
        Interactive, // the user chose to exit: questions are asked
        NoQuestions, // a signal or the session ending: questions are answered No
    };
    // The exit sequence (ExitProgram): closes the line, removes the tray icon,
    // prunes the logs, writes the recent numbers and "Call Display", saves or
    // offers to save the profile, and ends the program.
    void exitProgram(ExitMode mode = ExitMode::Interactive);
    bool isExiting() const { return m_exiting; }

    // ProfileName and the captions that show it.
    void setProfileName(const QString& name);

    // Unloads this window for the one a profile command loads after it: the
    // telephony session ends first, as at exit, and the window goes (later,
    // as the command that asked for it returns). The start-up of the new
    // window opens the line for receiving and registers for requests from
    // other programs as the live options say.
    void unloadForReload();

    // A message from a later start of the program: tag 1 brings the window to
    // the front, tag 3 dials the text when numbers from other programs are
    // accepted.
    void receiveFromOtherInstance(int tag, const QString& text);
    // Messages of later starts reach this window: from start-up to the end of
    // the exit sequence.
    bool messagesHooked() const { return m_hooked; }

    // The recent numbers as they are kept (at most the kept number).
    QStringList recentNumbers() const;

    // Shows or hides the dialing pad, decided by the caption of mnuHide.
    void toggleDialingPad();
    bool padShown() const;

    // Left edge of fraMain in twips (0 or 1920).
    int fraMainLeftTwips() const;

public Q_SLOTS:
    // The caption of the tray menu's receive item: "&Automatic Receive" or
    // "&Manual Receive".
    void setReceiveCaption(bool automatic);
    // The incoming calls log can be shown and printed (while receiving).
    void setInLogAvailable(bool available);

Q_SIGNALS:
    // The exit sequence removes the record of the running instance: a later
    // start becomes the first instance.
    void instanceRecordReleased();
    // Start-up with the tray option on shows the tray icon (true); the exit
    // sequence and the unload for a profile switch remove it (false).
    void trayIconWanted(bool shown);
    // Start-up has read the tab mode of the settings file (subject or index
    // tabs) and checked its menu item.
    void tabModeLoaded(bool subject);
    // Every key pressed in the window, before the focused control sees it
    // (the modifiers Shift, Ctrl and Alt), and the printable character it
    // types without Ctrl or Alt.
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void letterTyped(QChar letter);
    // A profile command asks for the main window to be loaded again.
    void profileReloadRequested(telvaro::profiles::ProfileOperation operation);
    // The exit sequence saves a named profile (`quiet`: no message box), or
    // the user asked to save the Untitled one.
    void profileSaveAtExit(bool quiet);
    void profileSaveRequested();

    // What the user asks for through the window's menus.
    void newProfileRequested();    // File > New Profile
    void openProfileRequested();   // File > Open Profile
    void saveProfileAsRequested(); // File > Save ... As (Save: profileSaveRequested)
    void outLogRequested();        // View > Outgoing Calls Log
    void inLogRequested();         // View > Incoming Calls Log
    void printOutLogRequested();   // File > Print Outgoing Calls Log
    void printInLogRequested();    // File > Print Incoming Calls Log
    void optionsRequested();       // Tools > Options
    void helpRequested();          // Help > Help Topics
    void aboutRequested();         // Help > About Telvaro
    void restoreRequested();       // the tray menu's Restore
    void receiveSwitchRequested(); // the tray menu's receive item

private:
    // ---- File ----
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;         // "&New Profile", Ctrl+N
    QAction* mnuOpen = nullptr;        // "&Open Profile", Ctrl+O
    QAction* mnuSave = nullptr;        // "&Save Profile", Ctrl+S
    QAction* mnuSaveAs = nullptr;      // "Save Profile &As"
    QAction* mnuPrintOutLog = nullptr; // Ctrl+P
    QAction* mnuPrintInLog = nullptr;  // Ctrl+Q, disabled
    QAction* mnuExit = nullptr;        // "E&xit": exitProgram()

    // ---- View (the directory's tab items go first) ----
    QMenu* mnuView = nullptr;
    QAction* mnuHide = nullptr;   // toggleDialingPad(); caption set at start-up
    QAction* mnuOutLog = nullptr; // "&Outgoing Calls Log"
    QAction* mnuInLog = nullptr;  // disabled

    // ---- Tools ----
    QMenu* mnuSettings = nullptr;
    QAction* mnuOptions = nullptr;        // the options dialog
    QAction* mnuDialProperties = nullptr; // the line dialogs

    // ---- Help ----
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpTopics = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // "&Systray": the tray icon's menu (never on the menu bar).
    QMenu* mnuSystray = nullptr;
    QAction* mPopRestore = nullptr; // brings the window back
    QAction* mnuReceive = nullptr;  // "&Automatic Receive"
    QAction* mPopExit = nullptr;    // closes the window (formUnload)

    // ---- Frames and their buttons ----
    QFrame* fraPad = nullptr;       // the dialing pad, left 1920 twips
    QFrame* fraMain = nullptr;      // the directory view
    QToolButton* cmdShow = nullptr; // on fraMain, "Show Dialing Pad"
    QToolButton* cmdHide = nullptr; // on fraMain, "Hide Dialing Pad"

    void buildMenus();
    void buildFrames();
    void wireMenus();
    void layoutFrames();
    // mnuHide's caption: "Hide Dialing &Pad" (`hides`) or "Show Dialing &Pad".
    void setPadToggleCaption(bool hides);

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // Form_Unload
    void checkSettingsFile();
    void applyDialingPadSetting();
    void applyTabMode();
    void loadRecentNumbers();
    void resumeLineAfterReload(bool receiveReacted, bool commandReacted);
    // Dials a number from the command line or a later start.
    void dialOutsideNumber(const QString& number, DialOrigin origin);
    // The window sees every key first: key-downs go to the directory's key
    // map, typed characters to its letter jump.
    bool eventFilter(QObject* watched, QEvent* event) override;

    const QEvent* m_lastKeyEvent = nullptr;
    QPointer<QWidget> m_lastKeyReceiver;
    QPointer<DirectoryView> m_directory; // placed by placeDirectory

    calllog::LogRetention m_retention;

    bool m_exiting = false;
    bool m_noQuestions = false;
    bool m_unloaded = false;
    bool m_profileLoad = false; // loaded again by New or Open Profile
    bool m_reloading = false;   // unloaded for the window loaded after it
    bool m_hooked = false;      // messages of later starts reach this window
    QString m_commandNumber;    // the command line's number, "/" removed
    ProgramParts* m_parts = nullptr;
    ProcessEnder* m_ender = nullptr;
};

// Where every part of the program puts its widgets into the main window and
// is wired to it (InstallParts.cpp); called once by the main window's
// constructor, before start-up.
void installParts(FrmDialer& window);

} // namespace telvaro
