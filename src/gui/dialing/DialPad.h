// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QWidget>

#include <array>

class QComboBox;
class QPushButton;

namespace telvaro {

class Dialer;
class SoundPlayer;

// The pad's number box: letters typed become keypad digits and only the
// characters of a telephone number are taken, unless dialing properties are
// ignored for all numbers.
class PadNumberBox : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

Q_SIGNALS:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// The dialing pad of the main window: the number box, the recent numbers,
// twelve keys that sound their touch tones, and "&DIAL", "&HANG UP" and "&OK",
// which follow the call.
class DialPad : public QWidget
{
    Q_OBJECT

public:
    DialPad(Dialer& dialer, SoundPlayer& sound, QWidget* parent = nullptr);

    // The selected part of the number ("" when nothing is selected), for the
    // main window's Edit menu.
    QString selectedNumber() const;
    // Deletes the selected part of the number (nothing when none is selected).
    void deleteSelectedNumber();

public Q_SLOTS:
    // Puts `number` in the number box, as it is (an entry's number, a paste).
    void showNumber(const QString& number);

Q_SIGNALS:
    // The number to dial was typed or chosen (the speed-dial buttons wake).
    void numberEdited();

private:
    // A key's character goes in place of the selection, or at the end.
    void insertKey(QChar key);
    static QString recentTip();
    // The accessible name of the key that dials `key`.
    static QString keyName(QChar key);
    void numberChanged();
    void showRecentNumbers();
    void showButtons();
    void dial();

    // Controls, found by their object names (the names below; the keys are
    // cmdNumber0-9, CmdStar and CmdNo).
    PadNumberBox* txtDial = nullptr;
    QComboBox* CmbDial = nullptr;
    std::array<QPushButton*, 10> cmdNumber{};
    QPushButton* CmdStar = nullptr;
    QPushButton* CmdNo = nullptr; // "#"
    QPushButton* CmdDial = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;

    Dialer& m_dialer;
    SoundPlayer& m_sound;
};

} // namespace telvaro
