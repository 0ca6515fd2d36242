#include "calllog/LogPrinting.h"

#include "app/Prompter.h"
#include "calllog/CallLogModel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

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
        dialog.setWindowTitle(QStringLiteral("Print"));
        return dialog.exec() == QDialog::Accepted;
    }
};

PrintDevices* g_devices = nullptr;

} // namespace

PrintDevices& printDevices()
{
    static SystemPrintDevices system;
    return g_devices ? *g_devices : system;
}

void setPrintDevices(PrintDevices* d)
{
    g_devices = d;
}

PrintOutcome printTable(QPrinter& printer, const QString& caption, const CallLogModel& model,
                        const QList<int>& columns, const QList<int>& weights)
{
    PrintOutcome outcome;
    QPainter painter;
    if (!painter.begin(&printer)) {
        outcome.error =
            printer.outputFileName().isEmpty()
                ? QStringLiteral("The printer could not be started.")
                : QStringLiteral("The file %1 could not be written.").arg(printer.outputFileName());
        return outcome;
    }

    const QRect page = painter.viewport();
    QFont body(QStringLiteral("Sans Serif"), 9);
    QFont bold = body;
    bold.setBold(true);
    QFont title = body;
    title.setPointSize(13);
    title.setBold(true);
    painter.setFont(body);
    const int line = QFontMetrics(body, &printer).lineSpacing();
    const int titleHeight = QFontMetrics(title, &printer).lineSpacing();
    const int gap = line / 2;

    int totalWeight = 0;
    for (int w : weights)
        totalWeight += w;
    QList<int> lefts;
    QList<int> widths;
    int x = page.left();
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const int w = page.width() * weights.value(c) / std::max(totalWeight, 1);
        lefts.append(x);
        widths.append(w - gap);
        x += w;
    }

    const int rows = model.rowCount();
    const int headTop = page.top() + titleHeight + gap;
    const int firstRowTop = headTop + line + gap;
    const int perPage = std::max(1, (page.bottom() - firstRowTop - line - gap) / line);
    const int pages = std::max(1, (rows + perPage - 1) / perPage);

    int row = 0;
    for (int p = 1; p <= pages; ++p) {
        if (p > 1 && !printer.newPage()) {
            outcome.error = QStringLiteral("The printer did not take page %1.").arg(p);
            painter.end();
            return outcome;
        }
        painter.setFont(title);
        painter.drawText(QRect(page.left(), page.top(), page.width(), titleHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, caption);
        painter.setFont(body);
        painter.drawText(QRect(page.left(), page.top(), page.width(), titleHeight),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1 of %2").arg(p).arg(pages));
        painter.setFont(bold);
        for (qsizetype c = 0; c < columns.size(); ++c) {
            painter.drawText(QRect(lefts[c], headTop, widths[c], line),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             model.headerData(columns[c], Qt::Horizontal).toString());
        }
        painter.drawLine(page.left(), headTop + line + gap / 2, page.right(),
                         headTop + line + gap / 2);
        painter.setFont(body);
        int y = firstRowTop;
        int onPage = 0;
        for (; row < rows && onPage < perPage; ++row, ++onPage, y += line) {
            for (qsizetype c = 0; c < columns.size(); ++c) {
                const QString text = model.data(model.index(row, columns[c])).toString();
                painter.drawText(QRect(lefts[c], y, widths[c], line),
                                 Qt::AlignLeft | Qt::AlignVCenter,
                                 painter.fontMetrics().elidedText(text, Qt::ElideRight, widths[c]));
            }
        }
        outcome.rowsOnPage.append(onPage);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        outcome.error = QStringLiteral("The printer reported an error.");
        return outcome;
    }
    outcome.printed = true;
    return outcome;
}

PrintOutcome printLog(QWidget* parent, const QString& caption, const CallLogModel& model,
                      const QList<int>& columns, const QList<int>& weights)
{
    std::unique_ptr<QPrinter> printer = printDevices().defaultPrinter();
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!printDevices().choosePrinter(parent, *printer))
            return {};
    }
    printer->setDocName(caption);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PrintOutcome outcome = printTable(*printer, caption, model, columns, weights);
    QApplication::restoreOverrideCursor();
    if (!outcome.printed) {
        showMessage(parent,
                    QStringLiteral("The %1 could not be printed.\n%2").arg(caption, outcome.error),
                    {}, MsgButtons::Ok, MsgIcon::Warning);
    }
    return outcome;
}

} // namespace telvaro::calllog
