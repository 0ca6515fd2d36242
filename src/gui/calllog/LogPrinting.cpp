// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/calllog/LogPrinting.h"

#include "core/calllog/CallLogModel.h"
#include "core/common/Prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>

namespace telvaro::calllog {
namespace {

class SystemPrintDevices final : public PrintDevices
{
public:
    std::unique_ptr<QPrinter> defaultPrinter() override
    {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    bool choosePrinter(QWidget* parent, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(PrintJob::tr("Print"));
        return dialog.exec() == QDialog::Accepted;
    }
};

// Texts wrap (anywhere when a word is too long) instead of being cut.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;

} // namespace

std::unique_ptr<PrintDevices> systemPrintDevices()
{
    return std::make_unique<SystemPrintDevices>();
}

PrintJob::PrintJob(std::unique_ptr<QPrinter> printer, const QString& caption,
                   const CallLogModel& model, const QList<int>& columns, QObject* parent)
    : QObject(parent), m_printer(std::move(printer)), m_caption(caption)
{
    for (int c : columns)
        m_heads << model.headerData(c, Qt::Horizontal).toString();
    const int rows = model.rowCount();
    m_rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QStringList texts;
        texts.reserve(columns.size());
        for (int c : columns)
            texts << model.data(model.index(r, c)).toString();
        m_rows.append(texts);
    }
    m_nameColumn = std::max(0, int(columns.indexOf(CallLogModel::NameColumn)));
}

PrintJob::~PrintJob()
{
    // Gone while printing (its window closed): the printout is dropped.
    if (m_painter && m_painter->isActive())
        abandon();
}

int PrintJob::textWidth(const QString& text) const
{
    // The advances of the characters, each measured once: fast enough for
    // every text of a big log, and never short of the width drawn but by
    // kerning, which one character of room makes up for.
    int width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        int advance = u < 256 ? m_charWidth[u] : m_otherWidths.value(u, -1);
        if (advance < 0 || (u < 256 && advance == 0)) {
            advance = m_metrics->horizontalAdvance(c);
            if (u < 256)
                m_charWidth[u] = std::max(advance, 1);
            else
                m_otherWidths.insert(u, advance);
        }
        width += advance;
    }
    return width;
}

bool PrintJob::begin()
{
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_outcome.error =
            m_printer->outputFileName().isEmpty()
                ? tr("The printer could not be started.")
                : tr("The file %1 could not be written.").arg(m_printer->outputFileName());
        m_painter.reset();
        return false;
    }
    m_page = m_painter->viewport();
    m_body = QFont(QStringLiteral("Sans Serif"), 9);
    m_bold = m_body;
    m_bold.setBold(true);
    m_title = m_body;
    m_title.setPointSize(13);
    m_title.setBold(true);
    m_metrics = std::make_unique<QFontMetrics>(m_body, m_printer.get());
    const QFontMetrics boldMetrics(m_bold, m_printer.get());
    m_line = m_metrics->lineSpacing();
    m_titleHeight = QFontMetrics(m_title, m_printer.get()).lineSpacing();
    m_gap = m_line / 2;

    // Each column as wide as its longest text (or head) needs.
    const int columns = int(m_heads.size());
    const int room = m_gap + m_metrics->averageCharWidth();
    QList<int> need(columns, 0);
    for (int c = 0; c < columns; ++c)
        need[c] = boldMetrics.horizontalAdvance(m_heads[c]);
    for (const QStringList& row : std::as_const(m_rows)) {
        for (int c = 0; c < columns; ++c)
            need[c] = std::max(need[c], textWidth(row[c]));
    }
    int total = 0;
    for (int& n : need) {
        n += room;
        total += n;
    }
    const int width = m_page.width();
    m_widths = need;
    if (total <= width) {
        m_widths[m_nameColumn] += width - total; // the names get what is left
    } else {
        // Too wide: the names give up room first (down to a quarter of the
        // page); then every other column shares what is left. Texts wrap.
        const int others = total - need[m_nameColumn];
        m_widths[m_nameColumn] = std::max(width - others, width / 4);
        if (m_widths[m_nameColumn] + others > width) {
            const int left = width - m_widths[m_nameColumn];
            for (int c = 0; c < columns; ++c) {
                if (c != m_nameColumn)
                    m_widths[c] = int(qint64(need[c]) * left / std::max(others, 1));
            }
        }
    }
    int x = m_page.left();
    for (int c = 0; c < columns; ++c) {
        m_lefts.append(x);
        x += m_widths[c];
    }

    // Rows whose texts do not fit their columns take more lines; the pages
    // take as many rows as their lines allow.
    m_headTop = m_page.top() + m_titleHeight + m_gap;
    m_firstRowTop = m_headTop + m_line + m_gap;
    const int linesPerPage =
        std::max(1, (m_page.bottom() - m_firstRowTop - m_line - m_gap) / m_line);
    m_rowLines.reserve(m_rows.size());
    m_pageStarts.append(0);
    int used = 0;
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        int lines = 1;
        for (int c = 0; c < columns; ++c) {
            const QString& text = m_rows[r][c];
            const int inner = m_widths[c] - m_gap;
            if (textWidth(text) + m_metrics->averageCharWidth() > inner) {
                const QRect needed = m_metrics->boundingRect(
                    QRect(0, 0, std::max(inner, 1), 1 << 24), kTextFlags, text);
                lines = std::max(lines, (needed.height() + m_line - 1) / m_line);
            }
        }
        lines = std::min(lines, linesPerPage);
        m_rowLines.append(lines);
        if (used > 0 && used + lines > linesPerPage) {
            m_pageStarts.append(int(r));
            used = 0;
        }
        used += lines;
    }
    return true;
}

bool PrintJob::printPage(int p)
{
    QPainter& painter = *m_painter;
    if (p > 0 && !m_printer->newPage()) {
        m_outcome.error = tr("The printer did not take page %1.").arg(p + 1);
        return false;
    }
    const int pages = pageCount();
    painter.setFont(m_title);
    painter.drawText(QRect(m_page.left(), m_page.top(), m_page.width(), m_titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    painter.setFont(m_body);
    painter.drawText(QRect(m_page.left(), m_page.top(), m_page.width(), m_titleHeight),
                     Qt::AlignRight | Qt::AlignVCenter, tr("Page %1 of %2").arg(p + 1).arg(pages));
    painter.setFont(m_bold);
    for (qsizetype c = 0; c < m_heads.size(); ++c) {
        painter.drawText(QRect(m_lefts[c], m_headTop, m_widths[c] - m_gap, m_line),
                         Qt::AlignLeft | Qt::AlignVCenter, m_heads[c]);
    }
    painter.drawLine(m_page.left(), m_headTop + m_line + m_gap / 2, m_page.right(),
                     m_headTop + m_line + m_gap / 2);
    painter.setFont(m_body);
    const int first = m_pageStarts[p];
    const int end = p + 1 < pages ? m_pageStarts[p + 1] : int(m_rows.size());
    int y = m_firstRowTop;
    for (int r = first; r < end; ++r) {
        const int height = m_rowLines[r] * m_line;
        for (qsizetype c = 0; c < m_heads.size(); ++c) {
            painter.drawText(QRect(m_lefts[c], y, m_widths[c] - m_gap, height), kTextFlags,
                             m_rows[r][c]);
        }
        y += height;
    }
    m_outcome.rowsOnPage.append(end - first);
    return true;
}

void PrintJob::end()
{
    if (!m_painter->end() || m_printer->printerState() == QPrinter::Error) {
        if (m_outcome.error.isEmpty())
            m_outcome.error = tr("The printer reported an error.");
    }
    m_outcome.printed = m_outcome.error.isEmpty();
    m_outcome.pending = false;
}

void PrintJob::abandon()
{
    if (!m_printer->abort()) {
        m_painter->end();
        // A file printer cannot take back what it wrote: the part goes.
        if (!m_printer->outputFileName().isEmpty())
            QFile::remove(m_printer->outputFileName());
    } else if (m_painter->isActive()) {
        m_painter->end();
    }
}

PrintOutcome PrintJob::runToEnd()
{
    bool ok = true;
    for (m_nextPage = 0; ok && m_nextPage < pageCount(); ++m_nextPage)
        ok = printPage(m_nextPage);
    end();
    return m_outcome;
}

void PrintJob::runInBackground(QWidget* dialogParent)
{
    m_outcome.pending = true;
    m_dialog = new QProgressDialog(dialogParent);
    m_dialog->setObjectName(QStringLiteral("PrintProgress"));
    m_dialog->setWindowTitle(m_caption);
    m_dialog->setLabelText(tr("Printing page 1 of %1").arg(pageCount()));
    m_dialog->setCancelButtonText(tr("Cancel"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    // The bar is driven directly: the dialog's own setValue() would run a
    // nested event loop while the dialog is modal.
    m_bar = new QProgressBar(m_dialog);
    m_bar->setRange(0, pageCount());
    m_bar->setValue(0);
    m_dialog->setBar(m_bar);
    connect(m_dialog, &QProgressDialog::canceled, this, &PrintJob::cancel);
    m_dialog->show();
    m_timer = new QTimer(this);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &PrintJob::printSome);
    m_timer->start();
}

void PrintJob::printSome()
{
    // A slice of pages at a time keeps the program answering.
    QElapsedTimer slice;
    slice.start();
    bool ok = true;
    while (ok && m_nextPage < pageCount() && slice.elapsed() < 30)
        ok = printPage(m_nextPage++);
    if (m_bar) {
        m_bar->setValue(m_nextPage);
        m_dialog->setLabelText(tr("Printing page %1 of %2")
                                   .arg(std::min(m_nextPage + 1, pageCount()))
                                   .arg(pageCount()));
    }
    if (!ok || m_nextPage >= pageCount()) {
        end();
        finish();
    }
}

void PrintJob::cancel()
{
    if (!m_painter || !m_painter->isActive())
        return;
    abandon();
    m_outcome.printed = false;
    m_outcome.pending = false;
    m_outcome.cancelled = true;
    finish();
}

void PrintJob::finish()
{
    if (m_timer)
        m_timer->stop();
    if (m_dialog) {
        m_dialog->disconnect(this);
        m_dialog->hide();
        m_dialog->deleteLater();
    }
    deleteLater();
    Q_EMIT finished(m_outcome);
}

PrintOutcome printLog(PrintDevices& devices, Prompter& prompter, QWidget* parent, QObject* owner,
                      const QString& caption, const CallLogModel& model, const QList<int>& columns)
{
    std::unique_ptr<QPrinter> printer = devices.defaultPrinter();
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!devices.choosePrinter(parent, *printer))
            return {};
    }
    printer->setDocName(caption);
    const QPointer<QWidget> told(parent);
    const auto report = [&prompter, told, caption](const PrintOutcome& outcome) {
        if (!outcome.printed && !outcome.cancelled && !outcome.pending) {
            showMessage(
                prompter, told.data(),
                PrintJob::tr("The %1 could not be printed.\n%2").arg(caption, outcome.error), {},
                MsgButtons::Ok, MsgIcon::Warning);
        }
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* job = new PrintJob(std::move(printer), caption, model, columns, owner);
    PrintOutcome outcome;
    if (!job->begin()) {
        outcome = job->outcome();
        delete job;
    } else if (job->pageCount() > kPagesPrintedAtOnce) {
        QObject::connect(job, &PrintJob::finished, job, report);
        job->runInBackground(parent);
        outcome = job->outcome();
    } else {
        outcome = job->runToEnd();
        delete job;
    }
    QApplication::restoreOverrideCursor();
    report(outcome);
    return outcome;
}

} // namespace telvaro::calllog
