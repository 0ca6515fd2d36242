// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace telvaro {

class Prompter;

// The about box: the program's picture, version and supported systems, where
// to send comments, its web sites and a notice, with OK and "&System Info...".
// The e-mail address and the web sites open with the desktop's handlers.
class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(Prompter& prompter, QWidget* parent = nullptr);

    static const QString kCommentsAddress;
    static const QString kPrimarySite;
    static const QString kSecondarySite;

private:
    QLabel* imgPicture = nullptr;
    QLabel* LblAbout = nullptr;
    QLabel* LblVer = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Text1 = nullptr;
    QLabel* txtPrimary = nullptr;
    QLabel* txtSecondary = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    Prompter& m_prompter;
};

// mnuHelpAbout_Click: the about box, modal over `parent` (the caller goes
// on at once; the box deletes itself when closed).
FrmAbout* showAbout(Prompter& prompter, QWidget* parent);

} // namespace telvaro
