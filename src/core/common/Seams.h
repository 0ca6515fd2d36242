#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

namespace telvaro {

// The calls one part of the program makes into another. Each part fills the
// seams it provides when it is set up (its install function); a seam nobody
// filled does nothing and returns its default, so every part runs on its own
// and tests can put their own functions in. Group by the providing part;
// add a seam to its provider's group.
struct Seams
{
    // Telephony: line session and call control.
    std::function<void()> initializeTelephony;
    std::function<void()> shutdownTelephony;
    std::function<void()> cleanUpStaleSession;
    std::function<void(int device)> queryLineDevice;
    // FillLineDeviceList: puts the device names into options().setLineDeviceNames()
    // (positions equal device ids) and shows the first in cmbLineDevices.
    std::function<void()> fillLineDeviceList;
    std::function<bool(int privileges, int mediaModes)> openLine;
    std::function<void()> closeLine;
    std::function<bool()> lineIsOpen;
    std::function<bool()> lineReceiving; // open with owner and monitor privileges
    std::function<void()> dropCall;
    std::function<void(const QString& firstPiece)> makeCall; // MakeCall
    std::function<void(QWidget* owner, int device)> showModemProperties;
    std::function<void(QWidget* owner)> showSystemModems;
    std::function<void(QWidget* owner)> showDialingProperties;

    // Telephony: incoming calls and numbers from other programs.
    // LogIncomingCall for telephony().eventCall, the call of the line event.
    std::function<void()> logIncomingCall;
    std::function<void()> showCallDisplay;  // FrmCallDisplay, modeless
    std::function<void()> closeCallDisplay; // closes FrmCallDisplay when it is visible
    std::function<void()> processCallRequest;
    std::function<void()> hook;
    std::function<void()> unhook;
    std::function<void(bool accept)> registerRequestRecipient;

    // Dialing: dial procedure, call progress window, dialing pad.
    std::function<void()> dialNumber;
    std::function<QStringList()> recentNumbers;
    std::function<void(const QStringList& numbers)> setRecentNumbers;
    // The text of txtDial; the pad also makes a text of 16 or more characters
    // its tooltip (start-up shows item 0 of the recent numbers here).
    std::function<void(const QString& text)> setDialText;

    // Tray: the line was opened or closed for receiving.
    std::function<void()> trayModify;

    // Application frame.
};

// The seams of the running program.
Seams& seams();

// Calls a seam when it is filled; returns the default of R otherwise.
template <typename R = void, typename F, typename... Args>
R callSeam(const std::function<F>& seam, Args&&... args)
{
    if (!seam) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    return seam(std::forward<Args>(args)...);
}

} // namespace telvaro
