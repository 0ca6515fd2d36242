// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/profiles/Profiles.h"

#include "core/common/CurrentProfile.h"
#include "core/common/Helpers.h"
#include "core/common/Prompter.h"
#include "core/options/Preferences.h"
#include "core/profiles/ProfileFiles.h"
#include "settings/AtomicFile.h"
#include "settings/Cp1252.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"
#include "settings/Paths.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace telvaro {
namespace {

using namespace profiles;

const char* const kFilter = QT_TRANSLATE_NOOP("telvaro::Profiles", "Telvaro Profile (*.tlx *.TLX)");
const QString kSuffix = QStringLiteral("tlx");

enum class Outcome { Done, Cancelled, Failed };

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Every way out of a profile command leaves the program in normal operation.
struct OperationEnd
{
    explicit OperationEnd(ProfileOperation& operation) : m_operation(operation) {}
    OperationEnd(const OperationEnd&) = delete;
    OperationEnd& operator=(const OperationEnd&) = delete;
    ~OperationEnd() { m_operation = ProfileOperation::None; }

private:
    ProfileOperation& m_operation;
};

void reportSaveError(Prompter& ask, QWidget* owner, const QString& reason, bool quiet)
{
    std::fprintf(stderr, "telvaro: Error saving file: %s\n", qPrintable(reason));
    if (quiet)
        return;
    if (owner)
        owner->unsetCursor();
    showMessage(ask, owner, Profiles::tr("Error saving file"));
}

// Our own question before a file is replaced; the file dialog asks none.
bool overwriteAllowed(Prompter& ask, QWidget* owner, const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    const MsgResult answer =
        showMessage(ask, owner, Profiles::tr("WARNING!\nExisting file will be overwritten."),
                    Profiles::tr("File %1 already exists").arg(QFileInfo(path).fileName()),
                    MsgButtons::OkCancel, MsgIcon::Warning, 2);
    return answer == MsgResult::Ok;
}

// The profile's content, checked to be one before it is written.
Result checkedProfileBytes(const ProfileHost& host, QByteArray* bytes, const QString& fileName = {},
                           const QString& savePath = {})
{
    *bytes = profileBytes(host.recentNumbers(), fileName, savePath);
    if (bytes->startsWith(cp1252::encode(settings::kHeader)))
        return Result::success();
    return Result::failure(
        QStringLiteral("%1 does not start with its marker line").arg(paths::settingsFile()));
}

// The bytes replace the settings file as a whole.
Result writeSettingsFile(const QByteArray& bytes)
{
    return writeFileAtomically(paths::settingsFile(), bytes);
}

// The plain save: the profile's own file in the data folder, the settings
// file unchanged. "Untitled" asks before it replaces an earlier Untitled.tlx,
// unless the caller asked already (`asked`).
Outcome savePlain(const ProfileHost& host, Prompter& ask, const CurrentProfile& profile,
                  QWidget* owner, bool quiet, bool asked = false)
{
    const QString path = profileFilePath(profile.name());
    if (!profile.named() && !quiet && !asked && !overwriteAllowed(ask, owner, path))
        return Outcome::Cancelled;
    QByteArray bytes;
    Result saved = checkedProfileBytes(host, &bytes);
    if (saved)
        saved = writeProfileFile(path, bytes);
    if (!saved) {
        reportSaveError(ask, owner, saved.error, quiet);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

Outcome saveProfileAs(Prompter& ask, CurrentProfile& profile, ProfileHost& host)
{
    QWidget* const owner = host.owner();
    FileRequest request;
    request.title = Profiles::tr("Save Profile As");
    request.folder = paths::dataDir();
    request.filter = Profiles::tr(kFilter);
    request.defaultSuffix = kSuffix;
    request.confirmOverwrite = false;
    const std::optional<QString> chosen = ask.saveFile(owner, request);
    if (!chosen || chosen->isEmpty())
        return Outcome::Cancelled;
    QString path = QFileInfo(*chosen).absoluteFilePath();
    // A name typed without an extension gets the profile's (not every file
    // dialog adds it).
    if (!QFileInfo(path).isDir() && QFileInfo(path).suffix().isEmpty() &&
        !path.endsWith(QLatin1Char('.')))
        path += QLatin1Char('.') + kSuffix;
    if (isOwnFile(path)) {
        reportSaveError(ask, owner, QStringLiteral("%1 is one of Telvaro's own files").arg(path),
                        false);
        return Outcome::Failed;
    }
    // Nothing is renamed before the question is answered.
    if (!overwriteAllowed(ask, owner, path))
        return Outcome::Cancelled;

    const QString fileName = QFileInfo(path).fileName();
    const QString newName = profileNameOfFile(path);
    QByteArray bytes;
    // The profile file first: the settings file takes the new name only
    // when there is a file behind it.
    Result saved = checkedProfileBytes(host, &bytes, fileName, path);
    if (saved)
        saved = writeProfileFile(path, bytes);
    if (saved)
        saved = writeSettingsFile(bytes);
    if (!saved) {
        reportSaveError(ask, owner, saved.error, false);
        return Outcome::Failed;
    }

    // The profile's name before this Save As: its logs are copied.
    const QString previousName = profile.name();
    profile.setName(newName);
    host.showProfileName(newName);
    if (const Result copied = copyLogs(previousName, newName); !copied) {
        showMessage(ask, owner,
                    Profiles::tr("The profile was saved, but the call logs of %1 could not be "
                                 "copied for %2.\n%3")
                        .arg(quoted(previousName), quoted(newName), copied.error),
                    {}, MsgButtons::Ok, MsgIcon::Warning);
    }
    return Outcome::Done;
}

bool callWindowShown(const ProfileHost& host, Prompter& ask, QWidget* owner)
{
    if (!host.callInProgress())
        return false;
    showMessage(ask, owner,
                Profiles::tr("A call is in progress.\nEnd the call before you switch profiles."),
                {}, MsgButtons::Ok, MsgIcon::Warning);
    return true;
}

MsgResult askSaveCurrent(Prompter& ask, const CurrentProfile& profile, QWidget* owner)
{
    const QString name = profile.name();
    if (profile.named()) {
        return showMessage(ask, owner, Profiles::tr("Save current %1 profile?").arg(quoted(name)),
                           //: The title of the question; %1 is the profile's name in quotes.
                           Profiles::tr("Saving profile %1").arg(quoted(name)),
                           MsgButtons::YesNoCancel, MsgIcon::Question);
    }
    return showMessage(ask, owner, Profiles::tr("Save current profile?"),
                       Profiles::tr("Saving profile "), MsgButtons::YesNoCancel, MsgIcon::Question);
}

// The Yes of New and Open saves "Untitled": asked before any window closes
// whether an earlier Untitled.tlx may be replaced.
bool untitledSaveAllowed(Prompter& ask, const CurrentProfile& profile, QWidget* owner,
                         MsgResult answer)
{
    return answer != MsgResult::Yes || profile.named() ||
           overwriteAllowed(ask, owner, profileFilePath(profile.name()));
}

// An empty directory that keeps the options the user sees, in one write.
bool writeFreshSettings(QString* error)
{
    IniFile& ini = settings::file();
    IniFile::Batch batch(ini);
    ini.parseBytes(cp1252::encode(settings::kHeader) + "\r\n\r\n");
    const Result preferences = writePreferences(ini, options());
    if (!batch.commit()) {
        *error = ini.lastError();
        return false;
    }
    if (!preferences) {
        *error = preferences.error;
        return false;
    }
    return true;
}

QString openDialogFolder()
{
    // "SavePath" is the last profile file chosen in Save As (a Windows path
    // in a profile from there).
    QString saved = settings::read(settings::kPreferencesSection, QStringLiteral("SavePath"));
    saved.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!saved.isEmpty()) {
        const QFileInfo info(saved);
        if (info.isDir())
            return info.absoluteFilePath();
        if (info.isAbsolute() && QFileInfo(info.absolutePath()).isDir())
            return info.absolutePath();
    }
    return paths::dataDir();
}

} // namespace

Profiles::Profiles(ProfileHost& host, Prompter& prompter, CurrentProfile& profile, QObject* parent)
    : QObject(parent), m_host(host), m_prompter(prompter), m_profile(profile)
{
}

// The windows that belong to the profile being left close as their own
// close does; false when a log window's question was cancelled.
bool Profiles::closeProfileWindows()
{
    if (!m_host.closeProfileWindows())
        return false;
    // A call may have started while the questions were open (a request from
    // another program served when the memo pad closed): no switch under it.
    return !callWindowShown(m_host, m_prompter, owner());
}

// The switch itself: the main window loads again on the settings file now
// in place, in normal state.
void Profiles::reload()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Q_EMIT reloadRequested(m_operation);
    QApplication::restoreOverrideCursor();
}

void Profiles::newProfile()
{
    OperationEnd end(m_operation);
    if (callWindowShown(m_host, m_prompter, owner()))
        return;
    m_operation = ProfileOperation::New;
    // Every question is asked before the first window closes.
    const MsgResult answer = askSaveCurrent(m_prompter, m_profile, owner());
    if (answer == MsgResult::Cancel || m_host.exiting() ||
        !untitledSaveAllowed(m_prompter, m_profile, owner(), answer) || m_host.exiting() ||
        !closeProfileWindows() || m_host.exiting())
        return;
    if (answer == MsgResult::Yes &&
        savePlain(m_host, m_prompter, m_profile, owner(), false, true) != Outcome::Done)
        return;
    QString error;
    if (!writeFreshSettings(&error)) {
        showMessage(m_prompter, owner(), tr("The new profile could not be started.\n%1").arg(error),
                    {}, MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    reload();
}

void Profiles::openProfile()
{
    OperationEnd end(m_operation);
    if (callWindowShown(m_host, m_prompter, owner()))
        return;
    m_operation = ProfileOperation::Open;

    FileRequest request;
    request.title = tr("Open Profile from:");
    request.folder = openDialogFolder();
    request.filter = Profiles::tr(kFilter);
    request.defaultSuffix = kSuffix;
    const std::optional<QString> chosen = m_prompter.openFile(owner(), request);
    if (!chosen || chosen->isEmpty() || m_host.exiting())
        return;
    const QString path = *chosen;

    QString error;
    switch (checkMarkerLine(path, &error)) {
    case MarkerCheck::Profile:
        break;
    case MarkerCheck::NotProfile:
        showMessage(m_prompter, owner(), tr("%1  \nis not the valid Telvaro profile").arg(path),
                    tr("Error"), MsgButtons::Ok, MsgIcon::Critical);
        return;
    case MarkerCheck::Unreadable:
        showMessage(m_prompter, owner(), tr("%1  \ncannot be read: %2").arg(path, error),
                    tr("Error"), MsgButtons::Ok, MsgIcon::Critical);
        return;
    }

    const MsgResult answer = askSaveCurrent(m_prompter, m_profile, owner());
    if (answer == MsgResult::Cancel || m_host.exiting())
        return;
    if (answer == MsgResult::No && profileNameOfFile(path) == m_profile.name()) {
        const MsgResult proceed =
            showMessage(m_prompter, owner(),
                        tr("Warning!\nProfile to be open is the same as current profile.\n"
                           "Changes to the current profile will not be saved.\nProceed?"),
                        tr("Profile %1 already loaded").arg(quoted(m_profile.name())),
                        MsgButtons::YesNo, MsgIcon::Warning, 2);
        if (proceed != MsgResult::Yes || m_host.exiting())
            return;
    }
    // Every question is asked before the first window closes.
    if (!untitledSaveAllowed(m_prompter, m_profile, owner(), answer) || m_host.exiting() ||
        !closeProfileWindows() || m_host.exiting())
        return;
    if (answer == MsgResult::Yes &&
        savePlain(m_host, m_prompter, m_profile, owner(), false, true) != Outcome::Done)
        return;
    if (const Result copied = CopyTextFile(path, paths::settingsFile()); !copied) {
        error = copied.error;
        showMessage(m_prompter, owner(), tr("The profile could not be opened.\n%1").arg(error),
                    tr("Error"), MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    reload();
}

void Profiles::save()
{
    OperationEnd end(m_operation);
    if (m_profile.named())
        savePlain(m_host, m_prompter, m_profile, owner(), false);
    else
        saveProfileAs(m_prompter, m_profile, m_host);
}

void Profiles::saveAs()
{
    OperationEnd end(m_operation);
    saveProfileAs(m_prompter, m_profile, m_host);
}

bool Profiles::saveAtExit(bool quiet)
{
    if (!m_profile.named())
        return false;
    return savePlain(m_host, m_prompter, m_profile, owner(), quiet) == Outcome::Done;
}

} // namespace telvaro
