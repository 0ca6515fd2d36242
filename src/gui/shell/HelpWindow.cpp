// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/HelpWindow.h"

#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>

namespace telvaro {

namespace {

QString pagePath(const QString& topic)
{
    return QStringLiteral(":/help/%1.html").arg(topic);
}

} // namespace

QList<QPair<QString, QString>> HelpWindow::topics()
{
    return {
        {QStringLiteral("contents"), tr("Contents")},
        {QStringLiteral("getting-started"), tr("Getting started")},
        {QStringLiteral("directory"), tr("The speed-dial directory")},
        {QStringLiteral("dialing-modem"), tr("Dialing with a modem")},
        {QStringLiteral("dialing-tones"), tr("Dialing without a modem")},
        {QStringLiteral("redial"), tr("Automatic redial")},
        {QStringLiteral("receiving"), tr("Receiving calls")},
        {QStringLiteral("logs"), tr("Call logs")},
        {QStringLiteral("profiles"), tr("Profiles")},
        {QStringLiteral("options"), tr("Options")},
        {QStringLiteral("modems"), tr("Modems and dialing locations")},
        {QStringLiteral("sip-phone"), tr("Dial through a SIP phone")},
        {QStringLiteral("troubleshooting"), tr("When something goes wrong")},
    };
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(tr("Telvaro Help"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/telvaro.svg")));

    contents = new QListWidget;
    contents->setObjectName(QStringLiteral("lstContents"));
    //: The list of help topics
    contents->setAccessibleName(tr("Contents"));
    for (const auto& [name, title] : topics()) {
        auto* item = new QListWidgetItem(title, contents);
        item->setData(Qt::UserRole, name);
    }
    contents->setMinimumWidth(contents->sizeHintForColumn(0) + 24);
    contents->setMaximumWidth(contents->sizeHintForColumn(0) + 48);

    page = new QTextBrowser;
    page->setObjectName(QStringLiteral("txtPage"));
    page->setAccessibleName(tr("Help page"));
    page->verticalScrollBar()->setAccessibleName(tr("Scroll the help page up and down"));
    page->horizontalScrollBar()->setAccessibleName(tr("Scroll the help page sideways"));
    contents->verticalScrollBar()->setAccessibleName(tr("Scroll the contents up and down"));
    contents->horizontalScrollBar()->setAccessibleName(tr("Scroll the contents sideways"));
    page->setOpenLinks(false);
    page->setMinimumWidth(420);
    connect(page, &QTextBrowser::anchorClicked, this, &HelpWindow::openLink);
    connect(contents, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            showTopic(item->data(Qt::UserRole).toString());
    });

    auto* splitter = new QSplitter;
    splitter->addWidget(contents);
    splitter->addWidget(page);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({210, 610});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);
    resize(820, 600);
    showTopic(QStringLiteral("contents"));
}

void HelpWindow::showTopic(const QString& topic)
{
    QString name = topic;
    if (!QFile::exists(pagePath(name)))
        name = QStringLiteral("contents");
    if (name == m_topic)
        return;
    QFile file(pagePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_topic = name;
    page->setHtml(QString::fromUtf8(file.readAll()));
    for (int i = 0; i < contents->count(); ++i) {
        if (contents->item(i)->data(Qt::UserRole).toString() == name) {
            const QSignalBlocker block(contents);
            contents->setCurrentRow(i);
        }
    }
}

void HelpWindow::openLink(const QUrl& url)
{
    if (url.scheme().isEmpty() || url.scheme() == QLatin1String("help")) {
        QString name = url.scheme().isEmpty() ? url.path() : url.path();
        if (name.endsWith(QLatin1String(".html")))
            name.chop(5);
        showTopic(name);
        if (!url.fragment().isEmpty())
            page->scrollToAnchor(url.fragment());
        return;
    }
    QDesktopServices::openUrl(url);
}

} // namespace telvaro
