// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/profiles/ProfileFiles.h"

#include <QObject>
#include <QString>

class QWidget;

namespace telvaro {

class CurrentProfile;
class Prompter;

// What the profile commands need of the program around them.
class ProfileHost
{
public:
    virtual ~ProfileHost() = default;
    // The window the commands' questions belong to.
    virtual QWidget* owner() const = 0;
    // The exit sequence runs (it may start while a question waits).
    virtual bool exiting() const = 0;
    // The profile takes a new name: the captions that show it follow.
    virtual void showProfileName(const QString& name) = 0;
    // Closes the windows of the profile being left as their own close does
    // (the log windows, the memo pad, the entry editor); false when a log
    // window stays open because its changes could not be saved.
    virtual bool closeProfileWindows() = 0;
    // The call progress window shows: a call is in progress.
    virtual bool callInProgress() const = 0;
    // The recent numbers as the profile keeps them.
    virtual QStringList recentNumbers() const = 0;
};

// The profile commands of the File menu.
class Profiles : public QObject
{
    Q_OBJECT

public:
    // The commands ask their questions through `prompter`; `profile` is the
    // profile loaded now (Save As names it anew).
    Profiles(ProfileHost& host, Prompter& prompter, CurrentProfile& profile,
             QObject* parent = nullptr);

    // The command running, None between commands.
    profiles::ProfileOperation operation() const { return m_operation; }

public Q_SLOTS:
    // "&New Profile": after the save question, the program starts again on an
    // empty directory that keeps the options the user sees.
    void newProfile();
    // "&Open Profile": a chosen profile file replaces the settings file and the
    // program starts again on it.
    void openProfile();
    // "&Save Profile": a named profile to its file in the data folder without a
    // question; "Untitled" as Save As.
    void save();
    // "Save Profile &As": a chosen file; the profile takes its name, the
    // settings file keeps it, and the new name's logs start as copies.
    void saveAs();
    // The exit's save of a named profile (no question); `quiet`: a failure is
    // told on stderr. Returns whether the profile was saved.
    bool saveAtExit(bool quiet);

Q_SIGNALS:
    // The settings file now holds the profile to start on: the main window
    // is to be loaded again (at once, before the command returns).
    void reloadRequested(telvaro::profiles::ProfileOperation operation);

private:
    QWidget* owner() const { return m_host.owner(); }
    bool closeProfileWindows();
    void reload();

    ProfileHost& m_host;
    Prompter& m_prompter;
    CurrentProfile& m_profile;
    profiles::ProfileOperation m_operation = profiles::ProfileOperation::None;
};

} // namespace telvaro
