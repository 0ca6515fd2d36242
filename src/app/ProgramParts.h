#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QWidget;

namespace telvaro {

class FrmOptions;
class HelpWindow;
class TrayIcon;

// The parts that live as long as the program, whichever main window is
// loaded: the options dialog, the tray icon and the help window. The program
// (Application) owns one and hands it to every main window it loads; a main
// window made on its own (tests) makes its own, and a profile switch hands it
// on to the window loaded next.
class ProgramParts : public QObject
{
    Q_OBJECT

public:
    explicit ProgramParts(QObject* parent = nullptr);
    ~ProgramParts() override;

    TrayIcon& tray() { return *m_tray; }
    // The options dialog, made on first use. It is a dialog of the main
    // window loaded now (setMainWindow hands it over) and hides, never
    // closes.
    FrmOptions& optionsDialog();
    // The help window, made on first use, raised and showing `topic`.
    HelpWindow& showHelpTopic(const QString& topic);
    // "&Help Topics": the contents page.
    void showHelp();
    // The help window when one is open.
    HelpWindow* helpWindow() const;

    // The main window loaded now: it owns the options dialog and the tray
    // serves it.
    void setMainWindow(QWidget& window);

private:
    std::unique_ptr<TrayIcon> m_tray;
    QPointer<FrmOptions> m_options;
    QPointer<HelpWindow> m_help;
    QPointer<QWidget> m_mainWindow;
};

} // namespace telvaro
