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

    PadNumberBox* txtDial = nullptr;
    QComboBox* CmbDial = nullptr;
    std::array<QPushButton*, 10> cmdNumber{}; // keys 0-9
    QPushButton* CmdStar = nullptr;
    QPushButton* CmdNo = nullptr; // "#"
    QPushButton* CmdDial = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;

    // A key's character goes in place of the selection, or at the end.
    void insertKey(QChar key);

Q_SIGNALS:
    // The number to dial was typed or chosen (the speed-dial buttons wake).
    void numberEdited();

private:
    void numberChanged();
    void showRecentNumbers();
    void showButtons();
    void dial();
    Dialer& m_dialer;
    SoundPlayer& m_sound;
};

} // namespace telvaro
