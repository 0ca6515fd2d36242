// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/Find.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace telvaro::test {

// The dialing pad's controls, found by name as a user sees them.
struct PadControls
{
    explicit PadControls(const QWidget* pad)
        : txtDial(child<QLineEdit>(pad, "txtDial")), CmbDial(child<QComboBox>(pad, "CmbDial")),
          CmdDial(child<QPushButton>(pad, "CmdDial")),
          cmdCancel(child<QPushButton>(pad, "cmdCancel")), cmdOK(child<QPushButton>(pad, "cmdOK")),
          CmdStar(child<QPushButton>(pad, "CmdStar")), CmdNo(child<QPushButton>(pad, "CmdNo")),
          m_pad(pad)
    {
    }
    // The key of a digit.
    QPushButton* key(char digit) const
    {
        return child<QPushButton>(m_pad, QStringLiteral("cmdNumber%1").arg(QLatin1Char(digit)));
    }

    QLineEdit* txtDial;
    QComboBox* CmbDial;
    QPushButton* CmdDial;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
    QPushButton* CmdStar;
    QPushButton* CmdNo; // "#"

private:
    const QWidget* m_pad;
};

// The call progress window's controls.
struct ConnectControls
{
    explicit ConnectControls(const QWidget* window)
        : fra1(child<QGroupBox>(window, "fra1")), lbl1(child<QLabel>(window, "lbl1")),
          imaDialing(child<QLabel>(window, "imaDialing")),
          imaBusy(child<QLabel>(window, "imaBusy")),
          imaConnect(child<QLabel>(window, "imaConnect")),
          cmdCancel(child<QPushButton>(window, "cmdCancel")),
          CmdOK(child<QPushButton>(window, "CmdOK"))
    {
    }

    QGroupBox* fra1;
    QLabel* lbl1;
    QLabel* imaDialing;
    QLabel* imaBusy;
    QLabel* imaConnect;
    QPushButton* cmdCancel;
    QPushButton* CmdOK;
};

} // namespace telvaro::test
