// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/directory/DirectoryView.h"

#include "core/common/Prompter.h"
#include "core/dialing/DialRequest.h"
#include "core/directory/DirectoryRules.h"
#include "core/directory/DirectoryStore.h"
#include "gui/common/Twips.h"
#include "gui/directory/FrmMemo.h"
#include "gui/directory/FrmSpeedDial.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

namespace telvaro {

using namespace directory;

namespace {

const char* const kUnnamedTab = QT_TRANSLATE_NOOP(
    "telvaro::DirectoryView", "You can't use this Speed Dial until the Tab is named.");

// A number label caption drawn with its access key underlined.
QString labelHtml(const QString& caption)
{
    QString html;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == QLatin1Char('&') && i + 1 < caption.size()) {
            html += QStringLiteral("<u>") + QString(caption[++i]).toHtmlEscaped() +
                    QStringLiteral("</u>");
        } else if (c == QLatin1Char(' ')) {
            continue; // the labels are right-aligned: leading blanks only pad
        } else {
            html += QString(c).toHtmlEscaped();
        }
    }
    return html;
}

} // namespace

DirectoryTabBar::DirectoryTabBar(QWidget* parent) : QTabBar(parent)
{
    setExpanding(false);
    setElideMode(Qt::ElideRight);
    setDrawBase(true);
}

void DirectoryTabBar::setFixedTabWidth(int pixels)
{
    if (pixels == m_width)
        return;
    m_width = pixels;
    // Make the tab bar lay out again with the new hints.
    setIconSize(iconSize());
    updateGeometry();
    update();
}

void DirectoryTabBar::setFitTitles(bool on)
{
    if (on == m_fitTitles)
        return;
    m_fitTitles = on;
    setIconSize(iconSize()); // lay out again
    updateGeometry();
    update();
}

QSize DirectoryTabBar::tabSizeHint(int index) const
{
    const QSize natural = QTabBar::tabSizeHint(index);
    int w = m_width;
    if (m_fitTitles && natural.width() > w)
        w = width() > m_width ? std::min(natural.width(), width()) : natural.width();
    return QSize(w, natural.height());
}

QSize DirectoryTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

DirectoryView::DirectoryView(DirectoryStore& store, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_store(store), m_prompter(prompter)
{
    setObjectName(QStringLiteral("DirectoryView"));
    for (int b = 1; b <= 12; ++b)
        m_labels[b - 1] = QStringLiteral("%1.").arg(b, 2, 10, QLatin1Char('0'));
    buildControls();
    buildMenus();
}

DirectoryView::~DirectoryView()
{
    if (m_editor)
        delete m_editor.data();
    // The memo pad is a window of its own that asks this view for captions:
    // it goes with the view (it would otherwise outlive it, unowned).
    delete m_memo.data();
}

void DirectoryView::buildControls()
{
    TabS = new DirectoryTabBar(this);
    TabS->setObjectName(QStringLiteral("TabS"));
    TabS->setAccessibleName(tr("Directory tabs"));
    TabS->setAccessibleDescription(
        tr("Left and Right choose a tab, Up and Down turn the pages, a letter jumps to its tab"));
    TabS->setFocusPolicy(Qt::StrongFocus);
    for (int t = 1; t <= kTabCount; ++t)
        TabS->addTab(QString(QChar(64 + t)));
    TabS->setFixedTabWidth(twipsToPixelsX(270));
    TabS->installEventFilter(this);
    connect(TabS, &QTabBar::currentChanged, this, &DirectoryView::onTabChanged);
    // The first change of the directory after a sort ends its undo, so the
    // undo never takes back anything made since.
    connect(&m_store, &DirectoryStore::changed, this, [this] {
        if (!m_arranging && !m_undoSnapshot.isEmpty())
            disarmUndo();
    });

    hsbTabs = new QScrollBar(Qt::Horizontal, this);
    hsbTabs->setObjectName(QStringLiteral("hsbTabs"));
    hsbTabs->setRange(0, 27);
    hsbTabs->setValue(1);
    hsbTabs->setPageStep(1);
    hsbTabs->setAccessibleName(tr("Tab scroller"));
    // Reached by Tab from the strip, as by Ctrl+T.
    hsbTabs->setFocusPolicy(Qt::StrongFocus);
    hsbTabs->installEventFilter(this);
    connect(hsbTabs, &QScrollBar::valueChanged, this, &DirectoryView::onTabsValueChanged);

    hsbPage = new QScrollBar(Qt::Horizontal, this);
    hsbPage->setObjectName(QStringLiteral("hsbPage"));
    hsbPage->setRange(-1, 84);
    hsbPage->setValue(0);
    hsbPage->setPageStep(1);
    // The page bar hands the keyboard focus straight back to the tab strip.
    hsbPage->setFocusPolicy(Qt::NoFocus);
    hsbPage->setToolTip(tr("Next Page"));
    hsbPage->setAccessibleName(tr("Page scroller"));
    connect(hsbPage, &QScrollBar::valueChanged, this, &DirectoryView::onPageValueChanged);

    fralblNo = new QFrame(this);
    fralblNo->setObjectName(QStringLiteral("fralblNo"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int b = 1; b <= 12; ++b) {
        auto* label = new QLabel(fralblNo);
        label->setObjectName(QStringLiteral("lblNo%1").arg(b));
        label->setTextFormat(Qt::RichText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblNo[b - 1] = label;

        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("CmdS%1").arg(b));
        button->setAccessibleName(tr("Empty button %1").arg(b));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px;"));
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, b] { clickButton(b); });
        CmdS[b - 1] = button;
    }

    fraRight = new QFrame(this);
    fraRight->setObjectName(QStringLiteral("fraRight"));
    fraRight->setToolTip(tr("Next Page"));
    LblRight = new QLabel(tr("Page:"), fraRight);
    LblRight->setObjectName(QStringLiteral("LblRight"));
    LblRight->setToolTip(tr("Next Page"));
    lblRight1 = new QLabel(QStringLiteral(" 1"), fraRight);
    lblRight1->setObjectName(QStringLiteral("lblRight1"));
    lblRight1->setToolTip(tr("Next Page"));
    lblRight1->setFont(fixed);

    cmdIndex = new QPushButton(QStringLiteral("A"), this);
    cmdIndex->setObjectName(QStringLiteral("cmdIndex"));
    cmdIndex->setToolTip(tr("Show Index Tabs"));
    cmdIndex->setAccessibleName(tr("Show Index Tabs"));
    cmdIndex->setFocusPolicy(Qt::NoFocus);
    cmdIndex->setVisible(false);
    connect(cmdIndex, &QPushButton::clicked, this, [this] {
        TabS->setFocus();
        showIndexTabs();
    });
    cmdSubject = new QPushButton(QStringLiteral("(...)"), this);
    cmdSubject->setObjectName(QStringLiteral("cmdSubject"));
    cmdSubject->setToolTip(tr("Show Subject Tabs"));
    cmdSubject->setAccessibleName(tr("Show Subject Tabs"));
    cmdSubject->setFocusPolicy(Qt::NoFocus);
    connect(cmdSubject, &QPushButton::clicked, this, [this] {
        TabS->setFocus();
        if (!m_subjectMode)
            showSubjectTabs();
    });

    setMinimumSize(twipsToPixelsX(2700), twipsToPixelsY(3900));
}

namespace {

QAction* addItem(QMenu* menu, const QString& caption, const char* name,
                 const QKeySequence& shortcut = {}, bool enabled = true)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setEnabled(enabled);
    return action;
}

} // namespace

void DirectoryView::buildMenus()
{
    Menus& m = m_menus;
    m.mnuEdit = new QMenu(tr("&Edit"), this);
    m.mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    m.mnuCut = addItem(m.mnuEdit, tr("Cu&t"), "mnuCut", QKeySequence(Qt::CTRL | Qt::Key_X), false);
    m.mnuCopy =
        addItem(m.mnuEdit, tr("&Copy"), "mnuCopy", QKeySequence(Qt::CTRL | Qt::Key_C), false);
    m.mnuPaste =
        addItem(m.mnuEdit, tr("&Paste"), "mnuPaste", QKeySequence(Qt::CTRL | Qt::Key_V), false);
    m.mnuDelete =
        addItem(m.mnuEdit, tr("&Delete"), "mnuDelete", QKeySequence(Qt::Key_Delete), false);
    m.mnuEdit->addSeparator();
    m.mnuSpeed = m.mnuEdit->addMenu(tr("&Edit Button:"));
    m.mnuSpeed->setObjectName(QStringLiteral("mnuSpeed"));
    for (int b = 1; b <= 12; ++b) {
        m.EditSpeed[b - 1] = m.mnuSpeed->addAction(m_labels[b - 1]);
        m.EditSpeed[b - 1]->setObjectName(QStringLiteral("EditSpeed%1").arg(b));
    }

    // The View menu's tab items (the main window's View menu holds them).
    m.mnuIndex = new QAction(tr("&Index Tabs"), this);
    m.mnuIndex->setObjectName(QStringLiteral("mnuIndex"));
    m.mnuSubject = new QAction(tr("&Subject Tabs"), this);
    m.mnuSubject->setObjectName(QStringLiteral("mnuSubject"));
    auto* tabModes = new QActionGroup(this);
    for (QAction* a : {m.mnuIndex, m.mnuSubject}) {
        a->setCheckable(true);
        tabModes->addAction(a);
    }
    m.mnuIndex->setChecked(true);
    m.mnuArrange = new QAction(tr("&Arrange Tabs Alphabetically"), this);
    m.mnuArrange->setObjectName(QStringLiteral("mnuArrange"));
    m.mnuArrange->setEnabled(false);

    //: Title of a speed-dial button's pop-up menu (not shown on screen)
    m.mnuMouse = new QMenu(tr("MouseMenu"), this);
    m.mnuMouse->setObjectName(QStringLiteral("mnuMouse"));
    m.mnuMouseEdit = addItem(m.mnuMouse, tr("Edit"), "mnuMouseEdit");
    m.mnuMouse->addSeparator();
    m.mnuMouseCopy = addItem(m.mnuMouse, tr("Copy"), "mnuMouseCopy");
    m.mnuMousePaste = addItem(m.mnuMouse, tr("Paste"), "mnuMousePaste", {}, false);
    m.mnuMouse->addSeparator();
    m.mnuMouseDelete = addItem(m.mnuMouse, tr("Delete"), "mnuMouseDelete");

    //: Title of a directory tab's pop-up menu (not shown on screen)
    m.mnuMouse1 = new QMenu(tr("MouseMenu1"), this);
    m.mnuMouse1->setObjectName(QStringLiteral("mnuMouse1"));
    m.mnuEditTab = addItem(m.mnuMouse1, tr("Edit Tab (title)"), "mnuEditTab");
    m.mnuMouse1->addSeparator();
    //: Pop-up menu item of a directory tab
    m.mnuMoveTab = addItem(m.mnuMouse1, tr("MoveTab"), "mnuMoveTab");
    m.mnuPasteTab = addItem(m.mnuMouse1, tr("Paste Tab"), "mnuPasteTab", {}, false);
    m.mnuMouse1->addSeparator();
    m.mnuDeleteTab = addItem(m.mnuMouse1, tr("Delete Tab"), "mnuDeleteTab");

    connectMenus();
}

QList<QAction*> DirectoryView::viewMenuItems() const
{
    return {m_menus.mnuIndex, m_menus.mnuSubject, m_menus.mnuArrange};
}

void DirectoryView::setBottomLeftInset(int pixels)
{
    m_bottomLeftInset = pixels;
    layoutControls();
}

void DirectoryView::connectMenus()
{
    const Menus& m = m_menus;
    // The items carry the check mark of the mode in force (set by the switch).
    connect(m.mnuIndex, &QAction::triggered, this, [this] { showIndexTabs(); });
    connect(m.mnuSubject, &QAction::triggered, this, [this] { showSubjectTabs(); });
    connect(m.mnuArrange, &QAction::triggered, this, &DirectoryView::arrangeTabs);
    connect(m.mnuCut, &QAction::triggered, this, &DirectoryView::editCut);
    connect(m.mnuCopy, &QAction::triggered, this, &DirectoryView::editCopy);
    connect(m.mnuPaste, &QAction::triggered, this, &DirectoryView::editPaste);
    connect(m.mnuDelete, &QAction::triggered, this, &DirectoryView::editDelete);
    connect(m.mnuEditTab, &QAction::triggered, this, [this] { titlePrompt(selectedTab()); });
    connect(m.mnuMoveTab, &QAction::triggered, this, &DirectoryView::startTabMove);
    connect(m.mnuPasteTab, &QAction::triggered, this, &DirectoryView::pasteTab);
    connect(m.mnuDeleteTab, &QAction::triggered, this, &DirectoryView::deleteTab);
    for (int b = 1; b <= 12; ++b)
        connect(m.EditSpeed[b - 1], &QAction::triggered, this, [this, b] { editSpeed(b); });
    connect(m.mnuEdit, &QMenu::aboutToShow, this, &DirectoryView::updateEditMenu);
    connect(m.mnuMouseEdit, &QAction::triggered, this, &DirectoryView::editEntry);
    connect(m.mnuMouseCopy, &QAction::triggered, this, &DirectoryView::copyEntry);
    connect(m.mnuMousePaste, &QAction::triggered, this, &DirectoryView::pasteEntry);
    connect(m.mnuMouseDelete, &QAction::triggered, this, &DirectoryView::deleteEntry);
}

// ---- what the page shows -------------------------------------------------------

int DirectoryView::selectedTab() const
{
    return TabS->currentIndex() + 1;
}

int DirectoryView::page() const
{
    return std::clamp(hsbPage->value(), 0, kPageCount - 1);
}

QString DirectoryView::caption(int button) const
{
    return m_captions[button - 1];
}

QString DirectoryView::entryName(int button) const
{
    const QString shown = caption(button);
    const QString stored = m_store.readName(m_subjectMode, keyOfButton(button));
    return !shown.isEmpty() && stored.startsWith(shown) ? stored : shown;
}

QString DirectoryView::tag(int button) const
{
    return m_tags[button - 1];
}

void DirectoryView::setCaption(int button, const QString& text)
{
    m_captions[button - 1] = text;
    QPushButton* b = CmdS[button - 1];
    b->setText(literalCaption(text));
    // A button's name is its caption; an empty one still says which it is.
    b->setAccessibleName(text.isEmpty() ? tr("Empty button %1").arg(button) : text);
}

void DirectoryView::setButtonsEnabled(bool on)
{
    for (QPushButton* b : CmdS)
        b->setEnabled(on);
}

void DirectoryView::setTag(int button, const QString& value)
{
    m_tags[button - 1] = value;
    // The tooltip is the number as the user knows it: without the marker.
    const QString tip =
        (!value.isEmpty() && value.front() == QChar(0)) ? QString() : withoutIgnoreMarker(value);
    CmdS[button - 1]->setToolTip(tip);
}

QString DirectoryView::labelCaption(int button) const
{
    return m_labels[button - 1];
}

QString DirectoryView::tabCaption(int tab) const
{
    if (!m_subjectMode)
        return QString(QChar(64 + tab));
    return m_tabTitles[tab - 1];
}

QString DirectoryView::pageText() const
{
    return lblRight1->text();
}

int DirectoryView::buttonOfKey(const QString& entryKey) const
{
    if (tabOfKey(entryKey) != selectedTab())
        return 0;
    const int b = slotOfKey(entryKey) - kButtonsPerPage * page();
    return (b >= 1 && b <= kButtonsPerPage) ? b : 0;
}

QString DirectoryView::keyOfButton(int button) const
{
    return entryKey(selectedTab(), page(), button);
}

void DirectoryView::beep()
{
    ++beepCount;
    QApplication::beep();
}

bool DirectoryView::checkStored(bool ok)
{
    if (!ok)
        showMessage(
            m_prompter, window(),
            tr("The change could not be saved in the settings file.\n%1").arg(m_store.lastError()),
            {}, MsgButtons::Ok, MsgIcon::Critical);
    return ok;
}

void DirectoryView::fillButtons(bool cutCaptions)
{
    DirectoryStore& store = m_store;
    const bool subject = m_subjectMode;
    const int t = selectedTab();
    const int p = page();
    for (int b = 1; b <= 12; ++b) {
        const QString name = store.readName(subject, entryKey(t, p, b));
        setCaption(b, cutCaptions ? buttonCaption(name) : name);
    }
    for (int b = 1; b <= 12; ++b)
        setTag(b, store.readNumber(subject, entryKey(t, p, b)));
}

void DirectoryView::showPage()
{
    const int p = hsbPage->value();
    if (p < 0) {
        beep();
        hsbPage->setValue(0);
        return;
    }
    if (p > kPageCount - 1) {
        beep();
        hsbPage->setValue(kPageCount - 1);
        TabS->setFocus();
        return;
    }
    // Room for three-digit numbers from page 9 on.
    placeNumberLabels();
    for (int b = 1; b <= 12; ++b) {
        const QString c = slotLabelCaption(p, b);
        m_labels[b - 1] = c;
        lblNo[b - 1]->setText(labelHtml(c));
        m_menus.EditSpeed[b - 1]->setText(c);
    }
    fillButtons(true);
    lblRight1->setText(pageNumberText(p));
}

void DirectoryView::onPageValueChanged(int)
{
    showPage();
}

void DirectoryView::refreshTabCaption(int tab, const QString& title)
{
    m_tabTitles[tab - 1] = title;
    TabS->setTabText(tab - 1, literalCaption(title));
    // The whole title, also when the tab has to elide it.
    TabS->setTabToolTip(tab - 1, title);
}

bool DirectoryView::tabNamed() const
{
    return !tabCaption(selectedTab()).isEmpty();
}

void DirectoryView::selectTab(int tab)
{
    if (tab < 1 || tab > kTabCount)
        return;
    // A tab the program selects never asks for its title; only the user's
    // click on an unnamed tab does.
    const bool wasProgramSelect = m_programSelect;
    m_programSelect = true;
    if (TabS->currentIndex() != tab - 1)
        TabS->setCurrentIndex(tab - 1); // runs onTabChanged
    else
        onTabChanged(tab - 1);
    m_programSelect = wasProgramSelect;
}

void DirectoryView::onTabChanged(int index)
{
    if (index < 0)
        return;
    const int t = index + 1;
    fillButtons(false);
    if (m_subjectMode)
        refreshTabCaption(t, m_store.readTabTitle(t));
    const bool suppressed =
        m_startupSwitch || modeSwitchMark || scrollMark || popupMark || m_programSelect;
    if (!tabCaption(t).isEmpty() || suppressed) {
        {
            const QSignalBlocker block(hsbTabs);
            hsbTabs->setValue(t);
        }
        hsbPage->setValue(0);
        scrollMark = false;
        popupMark = false;
        return;
    }
    titlePrompt(t);
}

void DirectoryView::onTabsValueChanged(int value)
{
    scrollMark = true;
    if (value < 1) {
        beep();
        TabS->setFocus();
        hsbTabs->setValue(1);
        return;
    }
    if (value > kTabCount) {
        beep();
        TabS->setFocus();
        hsbTabs->setValue(kTabCount);
        return;
    }
    if (TabS->currentIndex() != value - 1)
        TabS->setCurrentIndex(value - 1);
    // A value that selects the tab already shown completes no selection.
    scrollMark = false;
}

void DirectoryView::showStartupTabs(bool subject)
{
    m_startupSwitch = true;
    if (subject)
        showSubjectTabs();
    else
        showIndexTabs();
    m_startupSwitch = false;
}

void DirectoryView::showIndexTabs()
{
    modeSwitchMark = true;
    selectTab(1);
    m_subjectMode = false;
    {
        const QSignalBlocker block(hsbPage);
        hsbPage->setValue(0);
    }
    showPage();
    m_menus.mnuIndex->setChecked(true);
    m_menus.mnuSubject->setChecked(false);
    m_menus.mnuArrange->setEnabled(false);
    cmdSubject->setVisible(true);
    cmdIndex->setVisible(false);
    TabS->setFixedTabWidth(twipsToPixelsX(270));
    TabS->setFitTitles(false);
    for (int t = 1; t <= kTabCount; ++t) {
        TabS->setTabText(t - 1, QString(QChar(64 + t)));
        TabS->setTabToolTip(t - 1, QString());
    }
    fillButtons(true);
    modeSwitchMark = false;
}

void DirectoryView::showSubjectTabs()
{
    selectTab(1);
    m_subjectMode = true;
    {
        const QSignalBlocker block(hsbPage);
        hsbPage->setValue(0);
    }
    showPage();
    m_menus.mnuIndex->setChecked(false);
    m_menus.mnuSubject->setChecked(true);
    m_menus.mnuArrange->setEnabled(true);
    cmdSubject->setVisible(false);
    cmdIndex->setVisible(true);
    DirectoryStore& store = m_store;
    for (int t = 1; t <= kTabCount; ++t)
        refreshTabCaption(t, store.readTabTitle(t));
    TabS->setFixedTabWidth(twipsToPixelsX(800));
    TabS->setFitTitles(true);
    fillButtons(true);
}

bool DirectoryView::keyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (alt && !ctrl) {
        int b = 0;
        if (key >= Qt::Key_1 && key <= Qt::Key_9)
            b = key - Qt::Key_0;
        else if (key == Qt::Key_0)
            b = 10;
        else if (key == Qt::Key_Period)
            b = 11;
        else if (key == Qt::Key_Semicolon)
            b = 12;
        if (b == 0)
            return false;
        clickButton(b);
        return true;
    }
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int step = key == Qt::Key_Up ? 1 : -1;
        for (int i = 0; i < (ctrl ? 2 : 1); ++i)
            hsbPage->setValue(hsbPage->value() + step);
        return true;
    }
    case Qt::Key_Right:
        hsbTabs->setValue(hsbTabs->value() + 1);
        return true;
    case Qt::Key_Left:
        hsbTabs->setValue(hsbTabs->value() - 1);
        return true;
    case Qt::Key_Delete:
        // Taken, so that the tab strip does nothing with it; the number box
        // deletes by itself when it has the focus.
        return true;
    default:
        break;
    }
    if (!ctrl)
        return false;
    switch (key) {
    case Qt::Key_I:
        showIndexTabs();
        return true;
    case Qt::Key_S:
        showSubjectTabs();
        return true;
    case Qt::Key_E:
    case Qt::Key_H:
        Q_EMIT dialingPadToggleRequested();
        return true;
    case Qt::Key_P:
        TabS->setFocus();
        return true;
    case Qt::Key_T:
        hsbTabs->setFocus();
        return true;
    default:
        return false;
    }
}

void DirectoryView::letterJump(QChar c)
{
    if (m_subjectMode) {
        const QChar lower = c.toLower();
        for (int t = 1; t <= kTabCount; ++t) {
            const QString title = m_tabTitles[t - 1];
            if (!title.isEmpty() && title.front().toLower() == lower) {
                selectTab(t);
                return;
            }
        }
        return;
    }
    const char16_t u = c.unicode();
    if (u >= 'A' && u <= 'Z')
        selectTab(u - 'A' + 1);
    else if (u >= 'a' && u <= 'z')
        selectTab(u - 'a' + 1);
}

// ---- buttons and the button menu ------------------------------------------------

bool DirectoryView::copyPending() const
{
    return m_copyPending;
}

void DirectoryView::refuseUnnamedTab()
{
    showMessage(m_prompter, window(), tr(kUnnamedTab));
    TabS->setFocus();
}

void DirectoryView::clickButton(int button)
{
    if (button < 1 || button > 12)
        return;
    m_currentEntryKey = keyOfButton(button);
    if (button == 1 && caption(1).startsWith(QLatin1Char('*'))) {
        sortSubtitleGroup();
        showPage();
        return;
    }
    if (!tabNamed()) {
        refuseUnnamedTab();
        return;
    }
    if (window()->isEnabled())
        TabS->setFocus();
    const QString v = tag(button);
    if (ignoresDialingProperties(v))
        setDialPadNumber(v.mid(2));
    if (isCommand(v)) {
        startCommand(v.mid(1));
    } else {
        window()->update();
        // An empty slot has nothing to dial.
        if (!v.isEmpty())
            Q_EMIT dialRequested(
                DialRequest{v, caption(button), keyOfButton(button), DialOrigin::Directory});
    }
    if (caption(button).isEmpty()) {
        if (!copyPending())
            openEditor();
        else
            pasteEntry();
    }
}

bool DirectoryView::startCommand(const QString& commandLine)
{
    QStringList parts = QProcess::splitCommand(commandLine);
    const QString program = parts.isEmpty() ? QString() : parts.takeFirst();
    if (!program.isEmpty() && QProcess::startDetached(program, parts))
        return true;
    showMessage(m_prompter, window(),
                tr("The program %1 could not be started.")
                    .arg(quoted(program.isEmpty() ? commandLine.trimmed() : program)),
                {}, MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

void DirectoryView::rightClickButton(int button, const QPoint& globalPos)
{
    if (button < 1 || button > 12)
        return;
    if (!tabNamed()) {
        refuseUnnamedTab();
        return;
    }
    m_currentEntryKey = keyOfButton(button);
    const Menus& m = m_menus;
    const QString name = caption(button);
    if (!name.isEmpty()) {
        m.mnuMouseCopy->setEnabled(true);
        m.mnuMouseDelete->setEnabled(true);
        //: Pop-up menu of a speed-dial button; %1 is the entry's name in quotes
        m.mnuMouseEdit->setText(tr("Edit %1").arg(quoted(name)));
        //: Pop-up menu of a speed-dial button; %1 is the entry's name in quotes
        m.mnuMouseDelete->setText(tr("Delete %1").arg(quoted(name)));
        //: Pop-up menu of a speed-dial button; %1 is the entry's name in quotes
        m.mnuMouseCopy->setText(tr("Copy %1").arg(quoted(name)));
        if (!copyPending())
            m.mnuMousePaste->setEnabled(false);
    } else {
        m.mnuMouseCopy->setEnabled(false);
        m.mnuMouseDelete->setEnabled(false);
        m.mnuMouseEdit->setText(tr("Add new entry"));
        if (copyPending()) {
            //: Pop-up menu of a speed-dial button; %1 is the copied entry's name in quotes
            m.mnuMousePaste->setText(tr("Paste %1").arg(quoted(m_copyName)));
            m.mnuMousePaste->setEnabled(true);
        } else {
            m.mnuMouseCopy->setText(tr("Copy"));
            m.mnuMousePaste->setText(tr("Paste"));
            m.mnuMouseDelete->setText(tr("Delete"));
            m.mnuMousePaste->setEnabled(false);
        }
    }
    m.mnuMouse->exec(globalPos);
    if (window()->isEnabled())
        TabS->setFocus();
}

void DirectoryView::copyEntry()
{
    const int b = buttonOfKey(m_currentEntryKey);
    if (b == 0)
        return;
    // The whole name: the caption may be cut.
    m_copyName = entryName(b);
    m_copyNumber = tag(b);
    m_copyLog = m_store.readNoteLog(m_subjectMode, m_currentEntryKey);
    m_menus.mnuMousePaste->setEnabled(true);
    m_menus.mnuMousePaste->setText(tr("Paste %1").arg(quoted(m_copyName)));
    m_copyPending = true;
}

void DirectoryView::setPasteIdle()
{
    m_copyPending = false;
    m_menus.mnuMousePaste->setText(tr("Paste"));
    m_menus.mnuMousePaste->setEnabled(false);
    m_menus.mnuMouseCopy->setEnabled(true);
}

void DirectoryView::pasteEntry()
{
    const QString key = m_currentEntryKey;
    const int b = buttonOfKey(key);
    if (b == 0 || !copyPending())
        return;
    if (!caption(b).isEmpty()) {
        const MsgResult answer = showMessage(m_prompter, window(),
                                             tr("Existing SpeedDial will be overwritten.Continue?"),
                                             {}, MsgButtons::YesNo, MsgIcon::Question);
        if (answer != MsgResult::Yes) {
            setPasteIdle();
            return;
        }
    }
    DirectoryStore& store = m_store;
    const bool subject = m_subjectMode;
    bool ok = true;
    {
        IniFile::Batch batch(store.file());
        store.writeEntryName(subject, key, m_copyName);
        store.writeEntryNumber(subject, key, m_copyNumber);
        // The pasted entry carries the copied entry's log (none: none).
        if (m_copyLog.isEmpty())
            store.file().removeKey(kMemoLogSection, logKey(subject, key));
        else
            store.writeNoteLog(subject, key, m_copyLog);
        ok = batch.commit();
    }
    // A paste that could not be stored leaves the button as it was and the
    // copy pending, so that it can be tried again.
    if (!checkStored(ok))
        return;
    setCaption(b, m_copyName);
    setTag(b, m_copyNumber);
    setPasteIdle();
    m_menus.mnuMouseCopy->setText(tr("Copy"));
    m_menus.mnuMouseDelete->setText(tr("Delete"));
}

void DirectoryView::deleteEntry()
{
    const QString key = m_currentEntryKey;
    const int b = buttonOfKey(key);
    if (b == 0 || caption(b).isEmpty())
        return;
    //: %1 is the entry's name in quotes
    const MsgResult answer =
        showMessage(m_prompter, window(),
                    tr("Do you really want to delete   %1  entry?").arg(quoted(caption(b))),
                    tr("Delete SpeedDial Entry"), MsgButtons::OkCancel, MsgIcon::Question, 2);
    if (answer != MsgResult::Ok)
        return;
    if (!checkStored(m_store.deleteEntry(m_subjectMode, key)))
        return;
    setCaption(b, QString());
    setTag(b, QString());
}

void DirectoryView::editEntry()
{
    openEditor();
}

void DirectoryView::editSpeed(int button)
{
    if (button < 1 || button > 12)
        return;
    m_currentEntryKey = keyOfButton(button);
    openEditor();
}

FrmSpeedDial* DirectoryView::editor() const
{
    return m_editor.data();
}

FrmMemo* DirectoryView::memoPad() const
{
    return m_memo.data();
}

void DirectoryView::openEditor()
{
    if (m_editor)
        return; // the editor is modal: one at a time
    const int b = buttonOfKey(m_currentEntryKey);
    if (b == 0)
        return;
    m_editor = new FrmSpeedDial(*this, b);
    m_editor->open();
}

void DirectoryView::closeEditor()
{
    if (m_editor)
        m_editor->close();
}

bool DirectoryView::memoShown() const
{
    return m_memo && m_memo->isVisible();
}

void DirectoryView::closeMemo()
{
    if (m_memo)
        m_memo->close();
}

void DirectoryView::openMemo(const QString& entryKey)
{
    if (!entryKey.isEmpty())
        m_currentEntryKey = entryKey;
    if (m_memo && m_memo->isVisible()) {
        m_memo->raise();
        m_memo->activateWindow();
        return;
    }
    const int b = buttonOfKey(m_currentEntryKey);
    QString memoCaption;
    if (b > 0)
        memoCaption = caption(b);
    else if (slotOfKey(m_currentEntryKey) >= 1)
        memoCaption = buttonCaption(m_store.readName(m_subjectMode, m_currentEntryKey));
    m_memo = new FrmMemo(m_store, m_prompter, m_currentEntryKey, m_subjectMode);
    connect(m_memo, &FrmMemo::openChanged, this, &DirectoryView::memoOpenChanged);
    m_memo->showPad(memoCaption);
}

// ---- main Edit menu ---------------------------------------------------------------

void DirectoryView::setDialPadNumber(const QString& number)
{
    Q_EMIT padNumberWanted(number);
}

void DirectoryView::updateEditMenu()
{
    const Menus& m = m_menus;
    const QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard->text().isEmpty())
        m.mnuPaste->setEnabled(true);
    m_padSelection.clear();
    Q_EMIT padSelectionWanted();
    const bool selected = !m_padSelection.isEmpty();
    m.mnuCopy->setEnabled(selected);
    m.mnuCut->setEnabled(selected);
    m.mnuDelete->setEnabled(selected);
    if (undoArmed())
        m.mnuCut->setEnabled(true);
}

void DirectoryView::editCut()
{
    if (undoArmed()) {
        undoSorting();
        return;
    }
    m_padSelection.clear();
    Q_EMIT padSelectionWanted();
    if (m_padSelection.isEmpty())
        return;
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(m_padSelection);
    Q_EMIT padSelectionDeleteRequested();
}

void DirectoryView::editCopy()
{
    m_padSelection.clear();
    Q_EMIT padSelectionWanted();
    if (m_padSelection.isEmpty())
        return;
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(m_padSelection);
}

void DirectoryView::editDelete()
{
    // Only a selection goes, never a character beside the caret.
    Q_EMIT padSelectionDeleteRequested();
}

void DirectoryView::editPaste()
{
    setDialPadNumber(QApplication::clipboard()->text());
}

// ---- events -----------------------------------------------------------------------

bool DirectoryView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TabS && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_keysFromWindow) {
            // The main window has run the key map already; the strip must not
            // step through the tabs a second time.
            const int k = key->key();
            return k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down;
        }
        if (keyDown(key->key(), key->modifiers()))
            return true;
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            letterJump(text[0]);
            return true;
        }
        return false;
    }
    if (watched == hsbTabs && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_keysFromWindow) {
            const int k = key->key();
            return k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down;
        }
        return keyDown(key->key(), key->modifiers());
    }
    if (watched == TabS && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressOnCurrentTab = mouse->button() == Qt::LeftButton &&
                              TabS->tabAt(mouse->position().toPoint()) == TabS->currentIndex();
    }
    if (watched == TabS && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool again = m_pressOnCurrentTab && mouse->button() == Qt::LeftButton &&
                           TabS->tabAt(mouse->position().toPoint()) == TabS->currentIndex();
        m_pressOnCurrentTab = false;
        if (mouse->button() == Qt::RightButton && m_subjectMode) {
            showTabMenu(mouse->globalPosition().toPoint());
        } else if (again && m_subjectMode && !tabNamed()) {
            // A click on the unnamed tab already selected (its prompt was
            // cancelled, or the tab was just deleted) asks for the title again.
            scrollMark = false;
            popupMark = false;
            titlePrompt(selectedTab());
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            for (int b = 1; b <= 12; ++b)
                if (watched == CmdS[b - 1]) {
                    rightClickButton(b, mouse->globalPosition().toPoint());
                    return true;
                }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DirectoryView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

int DirectoryView::labelColumnWidth() const
{
    return QFontMetrics(lblNo[0]->font()).horizontalAdvance(QStringLiteral("996:")) + 2;
}

void DirectoryView::placeNumberLabels()
{
    // The labels stand right-aligned next to their buttons; from page 9 on
    // their frame starts further left to make room for three digits.
    const int shift = twipsToPixelsX(60);
    const int width = labelColumnWidth() + (page() > 7 ? shift : 0);
    fralblNo->setGeometry(page() > 7 ? 0 : shift, m_labelTop, width, m_rowHeight * 12);
    for (int b = 0; b < 12; ++b)
        lblNo[b]->setGeometry(0, b * m_rowHeight, width, m_rowHeight);
}

void DirectoryView::layoutControls()
{
    const int w = width();
    const int h = height();
    const int tabH = TabS->sizeHint().height();
    TabS->setGeometry(0, 0, w, tabH);
    const int barH = hsbTabs->sizeHint().height();
    hsbTabs->setGeometry(0, tabH + 2, w, barH);

    const int bottomH = std::max(twipsToPixelsY(330), cmdIndex->sizeHint().height());
    const int top = tabH + barH + 6;
    const int bottom = h - bottomH - 4;
    const int rowH = std::max(1, (bottom - top) / 12);
    m_rowHeight = rowH;
    m_labelTop = top;
    placeNumberLabels();
    const int buttonX = labelColumnWidth() + twipsToPixelsX(60) + 3;
    for (int b = 0; b < 12; ++b)
        CmdS[b]->setGeometry(buttonX, top + b * rowH, w - buttonX - 2, rowH);

    const int y = h - bottomH - 1;
    const int modeW =
        std::max(bottomH, cmdSubject->fontMetrics().horizontalAdvance(cmdSubject->text()) + 10);
    const int modeX = m_bottomLeftInset + 2;
    cmdIndex->setGeometry(modeX, y, modeW, bottomH);
    cmdSubject->setGeometry(modeX, y, modeW, bottomH);
    const QFontMetrics rfm(LblRight->font());
    const int pageLabelW = rfm.horizontalAdvance(LblRight->text()) + 4;
    const int pageNumberW =
        QFontMetrics(lblRight1->font()).horizontalAdvance(QStringLiteral("83")) + 4;
    const int rightW = pageLabelW + pageNumberW + 4;
    fraRight->setGeometry(w - rightW - 2, y, rightW, bottomH);
    LblRight->setGeometry(0, 0, pageLabelW, bottomH);
    lblRight1->setGeometry(pageLabelW + 2, 0, pageNumberW, bottomH);
    const int barX = modeX + modeW + 4;
    hsbPage->setGeometry(barX, y + (bottomH - barH) / 2, std::max(10, w - rightW - barX - 6), barH);
}

bool DirectoryView::focusTabs()
{
    if (!TabS->isVisible())
        return false;
    TabS->setFocus(Qt::ActiveWindowFocusReason);
    return true;
}

} // namespace telvaro
