// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace telvaro {

class DirectoryView;

// The entry editor: name and number of the entry under work (the slot of
// CurrentEntryKey, shown on button `button` of the view). Modal without
// blocking the caller; it deletes itself when closed. The button on the main
// window follows the name as it is typed.
class FrmSpeedDial : public QDialog
{
    Q_OBJECT

public:
    FrmSpeedDial(DirectoryView& view, int button);

    // Shows the editor to the right of the main window.
    void open() override;

    void save();
    void saveAndDial();
    void editMemo();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onNameChanged(const QString& text);
    void onNumberChanged(const QString& text);
    // Stores name and number; false when the settings file could not be written.
    bool store();
    QString numberValue() const;

    // Controls, found by their object names (the names below).
    QLabel* Label2 = nullptr;
    QLineEdit* TxtName = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* TxtNumber = nullptr;
    QCheckBox* chkIgnore = nullptr;
    QLabel* lblPulse = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdSaveDial = nullptr;
    QPushButton* CmdMemo = nullptr;
    QPushButton* CmdCancel = nullptr;

    DirectoryView& m_view;
    int m_button;
    QString m_startName;
};

} // namespace telvaro
