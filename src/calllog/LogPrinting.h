#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;
class QWidget;

namespace telvaro::calllog {

class CallLogModel;

// Where printouts go. The program prints on the system's default printer
// without asking; when the system has none, the print dialog lets the user
// pick a printer or a PDF file. Tests install their own.
class PrintDevices
{
public:
    virtual ~PrintDevices() = default;
    // The default printer, or nullptr when the system has none.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
    // Shows the print dialog for `printer`; false when the user cancels.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

PrintDevices& printDevices();
// Installs `d` (not owned); nullptr restores the system's printers.
void setPrintDevices(PrintDevices* d);

struct PrintOutcome
{
    bool printed = false;  // false: cancelled or failed
    QString error;         // set when it failed
    QList<int> rowsOnPage; // rows printed on each page
};

// Prints every row of `model` in its present order, page by page, each page
// headed by `caption`, the column heads and its page number. Columns listed
// in `columns` are printed, at widths in proportion to `weights`.
PrintOutcome printTable(QPrinter& printer, const QString& caption, const CallLogModel& model,
                        const QList<int>& columns, const QList<int>& weights);

// Gets a printer (default printer, else the dialog) and prints; failures are
// told to the user. Returns what was printed.
PrintOutcome printLog(QWidget* parent, const QString& caption, const CallLogModel& model,
                      const QList<int>& columns, const QList<int>& weights);

} // namespace telvaro::calllog
