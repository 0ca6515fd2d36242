// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace telvaro {

// Telvaro's help: the topics built into the program, a list of contents on the
// left and the page on the right. Links between pages stay in the window;
// links to the web open in the desktop's browser.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a topic by its name ("getting-started", "options", ...); an
    // unknown name shows the contents page.
    void showTopic(const QString& topic);
    QString currentTopic() const { return m_topic; }

    // The topics in the order of the contents list: name and title.
    static QList<QPair<QString, QString>> topics();

private:
    QListWidget* contents = nullptr;
    QTextBrowser* page = nullptr;

    void openLink(const QUrl& url);
    QString m_topic;
};

} // namespace telvaro
