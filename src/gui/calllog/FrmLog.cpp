// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/calllog/FrmLog.h"

#include "core/calllog/CallLogModel.h"
#include "core/common/CurrentProfile.h"
#include "core/common/Prompter.h"
#include "core/directory/DirectoryStore.h"
#include "gui/calllog/LogPrinting.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>

namespace telvaro::calllog {
namespace {

QAction* addItem(QMenu* menu, const QString& text, const QString& name,
                 const QKeySequence& shortcut = {}, bool enabled = true)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    a->setEnabled(enabled);
    return a;
}

bool samePath(const QString& a, const QString& b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// Long work on a big log shows the hourglass.
struct BusyCursor
{
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

bool isSlotKey(const QString& key)
{
    const int tab = directory::tabOfKey(key);
    const int slot = directory::slotOfKey(key);
    return tab >= 1 && tab <= 26 && slot >= 1 && slot <= directory::kSlotsPerTab &&
           key == directory::entryKey(tab, slot);
}

// ------------------------------------------------------------------ shared

CallLogWindow::CallLogWindow(LogKind kind, const LogServices& services, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_kind(kind), m_services(services)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_model = new CallLogModel(kind, this);
    m_view = new QTableView(this);
    m_view->setObjectName(kind == LogKind::Incoming ? QStringLiteral("lvInLog")
                                                    : QStringLiteral("lvOutLog"));
    m_view->setAccessibleName(kind == LogKind::Incoming ? tr("Incoming calls")
                                                        : tr("Outgoing calls"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setShowGrid(false);
    m_view->setAlternatingRowColors(true);
    m_view->setTextElideMode(Qt::ElideRight);
    QHeaderView* rows = m_view->verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    QHeaderView* heads = m_view->horizontalHeader();
    heads->setSectionsClickable(true);
    heads->setHighlightSections(false);
    heads->setStretchLastSection(true);
    heads->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heads->setSectionResizeMode(QHeaderView::Interactive);
    // Widths follow the font: room for a usual name and number, and the whole
    // date and time.
    const QFontMetrics metrics = m_view->fontMetrics();
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    heads->resizeSection(CallLogModel::NameColumn, digit * 32);
    heads->resizeSection(CallLogModel::NumberColumn, digit * 26);
    heads->resizeSection(CallLogModel::DateColumn,
                         metrics.horizontalAdvance(QStringLiteral("00-00-0000  00:00:00")) +
                             digit * 4);
    if (kind == LogKind::Outgoing) {
        // The entry key rides along unseen.
        m_view->setColumnHidden(CallLogModel::KeyColumn, true);
    }
    connect(heads, &QHeaderView::sectionClicked, this, &CallLogWindow::columnClick);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateRowCommands(); });
    setCentralWidget(m_view);
    resize(heads->sectionSize(CallLogModel::NameColumn) +
               heads->sectionSize(CallLogModel::NumberColumn) +
               heads->sectionSize(CallLogModel::DateColumn) + digit * 4,
           rows->defaultSectionSize() * 16);

    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuPrint = addItem(mnuFile, tr("&Print"), QStringLiteral("mnuPrint"),
                       QKeySequence(Qt::CTRL | Qt::Key_P));
    //: Saves the log shown in the window to its file.
    mnuSave = addItem(mnuFile, tr("&Save"), QStringLiteral("mnuSave"),
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFile->addSeparator();
    mnuExit = addItem(mnuFile, tr("E&xit"), QStringLiteral("mnuExit"));
    connect(mnuPrint, &QAction::triggered, this, [this] { print(); });
    connect(mnuSave, &QAction::triggered, this, [this] { save(); });
    connect(mnuExit, &QAction::triggered, this, [this] { close(); });

    connect(&m_services.logs, &CallLogWriter::recordAppended, this, &CallLogWindow::recordAppended);
}

CallLogWindow::~CallLogWindow() = default;

void CallLogWindow::load()
{
    BusyCursor busy;
    m_logModified = false;
    m_path = logPath(m_services.profile.name(), m_kind);
    readFile();
    m_view->scrollToTop();
    updateRowCommands();
}

bool CallLogWindow::fileUnreadable() const
{
    if (!QFileInfo::exists(m_path))
        return false; // no calls yet
    QFile file(m_path);
    return !file.open(QIODevice::ReadOnly);
}

void CallLogWindow::readFile()
{
    QFile file(m_path);
    QByteArray bytes;
    bool read = !file.exists(); // no file: no calls yet, all of them held
    if (!read && file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        read = file.error() == QFileDevice::NoError;
    }
    m_holdsFile = read;
    m_model->setRows(read ? parseLog(bytes, m_kind) : QList<CallLogRow>{});
    sortTable(CallLogModel::DateColumn, false);
    if (!read) {
        showMessage(m_services.prompter, this,
                    tr("The log\n%1\ncould not be read. The window shows no calls, "
                       "and the file is left as it is.")
                        .arg(QDir::toNativeSeparators(m_path)),
                    windowTitle(), MsgButtons::Ok, MsgIcon::Warning);
    }
}

void CallLogWindow::sortTable(int column, bool ascending)
{
    m_ascending = ascending;
    m_sortColumn = column;
    const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    m_model->sortBy(column, order);
    m_view->horizontalHeader()->setSortIndicator(column, order);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
}

void CallLogWindow::columnClick(int column)
{
    // Every click turns the direction over, whichever column it hits.
    BusyCursor busy;
    sortTable(column, !m_ascending);
}

QList<int> CallLogWindow::selectedRows() const
{
    const int n = m_model->rowCount();
    std::vector<bool> marked(static_cast<size_t>(n), false);
    for (const QItemSelectionRange& range : m_view->selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom() && r < n; ++r)
            marked[size_t(r)] = true;
    }
    QList<int> rows;
    for (int r = 0; r < n; ++r) {
        if (marked[size_t(r)])
            rows.append(r);
    }
    return rows;
}

void CallLogWindow::removeRows(const std::vector<bool>& doomed)
{
    // The view keeps its place: the same top row (or the first kept one
    // after it) and the current row (or the one that takes its place).
    const auto newIndex = [&](int r) {
        int removedBefore = 0;
        for (int i = 0; i < r && size_t(i) < doomed.size(); ++i)
            removedBefore += doomed[size_t(i)] ? 1 : 0;
        return r - removedBefore;
    };
    const int top = m_view->rowAt(0);
    const QModelIndex current = m_view->currentIndex();
    m_view->selectionModel()->clear();
    if (m_model->removeMarked(doomed) == 0)
        return;
    const int rows = m_model->rowCount();
    if (rows > 0) {
        if (top >= 0)
            m_view->scrollTo(m_model->index(std::min(newIndex(top), rows - 1), 0),
                             QAbstractItemView::PositionAtTop);
        if (current.isValid()) {
            const int at = std::min(newIndex(current.row()), rows - 1);
            m_view->selectionModel()->setCurrentIndex(m_model->index(at, current.column()),
                                                      QItemSelectionModel::NoUpdate);
        }
    }
    // The table keeps its present order until the next column click.
    m_sortColumn = -1;
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_logModified = true;
    mnuUndo->setEnabled(true);
}

void CallLogWindow::deleteSelected()
{
    BusyCursor busy;
    std::vector<bool> doomed(size_t(m_model->rowCount()), false);
    bool any = false;
    for (const QItemSelectionRange& range : m_view->selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom() && r < int(doomed.size()); ++r) {
            doomed[size_t(r)] = true;
            any = true;
        }
    }
    if (any)
        removeRows(doomed);
}

void CallLogWindow::undo()
{
    BusyCursor busy;
    // Everything deleted since the last save comes back from the file.
    readFile();
    mnuUndo->setEnabled(false);
    updateRowCommands();
}

bool CallLogWindow::save()
{
    BusyCursor busy;
    sortTable(CallLogModel::DateColumn, true);
    QString error;
    // A file whose calls the window does not hold is never replaced by its rows.
    if (!m_holdsFile)
        error = tr("The calls in the file could not be read when the window "
                   "loaded them, so the file is not replaced.");
    else if (fileUnreadable())
        error = tr("The file cannot be read, so it is not replaced.");
    bool failed = !error.isEmpty();
    if (!failed) {
        const Result saved = saveLog(m_path, m_kind, m_model->rows());
        failed = !saved;
        error = saved.error;
    }
    if (failed) {
        showMessage(m_services.prompter, this,
                    tr("The log could not be saved to\n%1\n\n%2\n\n"
                       "The file is unchanged; the window keeps your changes.")
                        .arg(QDir::toNativeSeparators(m_path), error),
                    tr("Saving log to file"), MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    return true;
}

PrintOutcome CallLogWindow::print()
{
    QList<int> columns{CallLogModel::NameColumn, CallLogModel::NumberColumn,
                       CallLogModel::DateColumn};
    return printLog(m_services.printers, m_services.prompter, isVisible() ? this : parentWidget(),
                    this, windowTitle(), *m_model, columns);
}

void CallLogWindow::closeEvent(QCloseEvent* event)
{
    if (m_logModified) {
        const MsgResult answer =
            showMessage(m_services.prompter, this, tr("Save the changes?"),
                        tr("Saving log to file"), MsgButtons::YesNo, MsgIcon::Question);
        if (answer == MsgResult::Yes && !save()) {
            event->ignore();
            return;
        }
    }
    m_logModified = false;
    m_unloaded = true;
    event->accept();
}

void CallLogWindow::updateRowCommands()
{
    mnuDelete->setEnabled(m_view->selectionModel()->hasSelection());
}

void CallLogWindow::recordAppended(const QString& path, LogKind kind, const CallLogRow& row)
{
    if (m_unloaded || kind != m_kind || !samePath(path, m_path))
        return;
    // The newest call goes where the present order puts the newest.
    const bool atEnd = m_sortColumn == CallLogModel::DateColumn && m_ascending;
    m_model->insertRecord(atEnd ? m_model->rowCount() : 0, row);
}

bool CallLogWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        // The menu key acts on the current row as a click on it does.
        const QModelIndex current = m_view->currentIndex();
        if (current.isValid()) {
            const QRect cell = m_view->visualRect(current.siblingAtColumn(0));
            rowClicked(current.row(), Qt::LeftButton, Qt::NoModifier,
                       m_view->viewport()->mapToGlobal(cell.center()));
        }
        return true;
    }
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::RightButton && e->modifiers() == Qt::NoModifier) {
                const QPoint global = e->globalPosition().toPoint();
                QTimer::singleShot(0, this, [this, global] { rightPressed(global); });
            }
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* e = static_cast<QMouseEvent*>(event);
            const QModelIndex index = m_view->indexAt(e->position().toPoint());
            if (index.isValid()) {
                const int row = index.row();
                const Qt::MouseButton button = e->button();
                const Qt::KeyboardModifiers modifiers = e->modifiers();
                const QPoint global = e->globalPosition().toPoint();
                // After the view has taken the click (and set the selection).
                QTimer::singleShot(0, this, [this, row, button, modifiers, global] {
                    if (row < m_model->rowCount())
                        rowClicked(row, button, modifiers, global);
                });
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CallLogWindow::addUndoItem()
{
    mnuUndo = addItem(mnuEdit, tr("&Undo"), QStringLiteral("mnuUndo"),
                      QKeySequence(Qt::CTRL | Qt::Key_Z), false);
    connect(mnuUndo, &QAction::triggered, this, [this] { undo(); });
}

void CallLogWindow::addDeleteItem()
{
    mnuDelete = addItem(mnuEdit, tr("&Delete"), QStringLiteral("mnuDelete"),
                        QKeySequence(Qt::Key_Delete), false);
    connect(mnuDelete, &QAction::triggered, this, [this] { deleteSelected(); });
}

void CallLogWindow::addHelpMenu()
{
    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpTopics = addItem(mnuHelp, tr("&Help Topics"), QStringLiteral("mnuHelpTopics"));
    mnuHelp->addSeparator();
    mnuAbout = addItem(mnuHelp, tr("&About Telvaro"), QStringLiteral("mnuAbout"));
    connect(mnuHelpTopics, &QAction::triggered, this, &CallLogWindow::helpRequested);
    connect(mnuAbout, &QAction::triggered, this, &CallLogWindow::aboutRequested);
}

// ----------------------------------------------------------------- incoming

FrmInLog::FrmInLog(const LogServices& services, QWidget* parent)
    : CallLogWindow(LogKind::Incoming, services, parent)
{
    setObjectName(QStringLiteral("FrmInLog"));
    setWindowTitle(tr("Incoming Calls Log"));
    mnuEdit = menuBar()->addMenu(tr("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    addUndoItem();
    addDeleteItem();
    addHelpMenu();

    mnuMouse = new QMenu(QStringLiteral("Mouse"), this);
    mnuMouse->setObjectName(QStringLiteral("mnuMouse"));
    mnuReturnCall = addItem(mnuMouse, tr("Return a Call"), QStringLiteral("mnuReturnCall"));
    mnuMouse->addSeparator();
    //: Closes the pop-up menu.
    addItem(mnuMouse, tr("Cancel"), QStringLiteral("mnuCancel"));
    mnuMouseRight = new QMenu(QStringLiteral("MouseRight"), this);
    mnuMouseRight->setObjectName(QStringLiteral("mnuMouseRight"));
    mnuRightDelete = addItem(mnuMouseRight, tr("Delete"), QStringLiteral("mnuRightDelete"));
    mnuMouseRight->addSeparator();
    addItem(mnuMouseRight, tr("Cancel"), QStringLiteral("mnuRightCancel"));

    connect(mnuRightDelete, &QAction::triggered, this, [this] { deleteSelected(); });
    connect(mnuReturnCall, &QAction::triggered, this, [this] { returnCall(); });
}

void FrmInLog::rowClicked(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                          const QPoint& globalPos)
{
    if (modifiers != Qt::NoModifier || !m_view->selectionModel()->isRowSelected(row))
        return;
    const CallLogRow& r = m_model->row(row);
    if (button == Qt::LeftButton) {
        if (r.number != QLatin1String("Unknown #"))
            mnuMouse->popup(globalPos);
    } else if (button == Qt::RightButton) {
        if (!r.name.isEmpty())
            mnuMouseRight->popup(globalPos);
    }
}

void FrmInLog::returnCall()
{
    const QModelIndex current = m_view->currentIndex();
    const QList<int> rows = selectedRows();
    const int row = current.isValid() && m_view->selectionModel()->isRowSelected(current.row())
                        ? current.row()
                        : rows.value(0, -1);
    if (row < 0)
        return;
    const CallLogRow r = m_model->row(row);
    if (r.number.isEmpty() || r.number == QLatin1String("Unknown #"))
        return;
    Q_EMIT returnCallRequested(r.number, r.name);
}

// ----------------------------------------------------------------- outgoing

FrmOutLog::FrmOutLog(const LogServices& services, QWidget* parent)
    : CallLogWindow(LogKind::Outgoing, services, parent)
{
    setObjectName(QStringLiteral("FrmOutLog"));
    setWindowTitle(tr("Outgoing Calls Log"));
    mnuEdit = menuBar()->addMenu(tr("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuMemoLog = addItem(mnuEdit, tr("&MemoLog"), QStringLiteral("mnuMemoLog"), {}, false);
    mnuEdit->addSeparator();
    addUndoItem();
    mnuCut = addItem(mnuEdit, tr("Cu&t"), QStringLiteral("mnuCut"),
                     QKeySequence(Qt::CTRL | Qt::Key_X), false);
    mnuCopy = addItem(mnuEdit, tr("&Copy"), QStringLiteral("mnuCopy"),
                      QKeySequence(Qt::CTRL | Qt::Key_C), false);
    addDeleteItem();
    addHelpMenu();

    connect(mnuMemoLog, &QAction::triggered, this, [this] { memoLog(); });
    connect(mnuCut, &QAction::triggered, this, [this] { cut(); });
    connect(mnuCopy, &QAction::triggered, this, [this] { copy(); });
}

void FrmOutLog::updateRowCommands()
{
    const bool any = m_view->selectionModel()->hasSelection();
    mnuDelete->setEnabled(any);
    mnuCut->setEnabled(any);
    mnuCopy->setEnabled(any);
    const QModelIndex current = m_view->currentIndex();
    mnuMemoLog->setEnabled(any && current.isValid() &&
                           m_view->selectionModel()->isRowSelected(current.row()) &&
                           isSlotKey(m_model->row(current.row()).entryKey));
}

void FrmOutLog::rowClicked(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                           const QPoint& globalPos)
{
    if (button != Qt::LeftButton || modifiers != Qt::NoModifier ||
        !m_view->selectionModel()->isRowSelected(row))
        return;
    updateRowCommands();
    mnuEdit->popup(globalPos);
}

void FrmOutLog::rightPressed(const QPoint& globalPos)
{
    updateRowCommands();
    mnuEdit->popup(globalPos);
}

QString FrmOutLog::clipboardText(const QList<int>& rows) const
{
    QString text;
    for (int r : rows) {
        const CallLogRow& row = m_model->row(r);
        text += QStringLiteral("\r\n") + row.name + row.number + row.dateTime;
    }
    return text;
}

void FrmOutLog::cut()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return; // nothing to cut: the clipboard keeps what it holds
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(clipboardText(rows));
    std::vector<bool> doomed(size_t(m_model->rowCount()), false);
    for (int r : rows)
        doomed[size_t(r)] = true;
    removeRows(doomed);
    mnuUndo->setText(tr("Undo Cut"));
    updateRowCommands();
}

void FrmOutLog::copy()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(clipboardText(rows));
}

void FrmOutLog::memoLog()
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid() || !m_view->selectionModel()->isRowSelected(current.row()))
        return;
    const QString key = m_model->row(current.row()).entryKey;
    if (!isSlotKey(key))
        return;
    Q_EMIT memoRequested(key);
}

} // namespace telvaro::calllog
