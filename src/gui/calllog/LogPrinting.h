// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class QPainter;
class QPrinter;
class QProgressBar;
class QTimer;
class QWidget;

namespace telvaro {
class Prompter;
}

namespace telvaro::calllog {

class CallLogModel;

// Where printouts go. The program prints on the system's default printer
// without asking; when the system has none, the print dialog lets the user
// pick a printer or a PDF file. Tests hand their own to the log windows.
class PrintDevices
{
public:
    virtual ~PrintDevices() = default;
    // The default printer, or nullptr when the system has none.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
    // Shows the print dialog for `printer`; false when the user cancels.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

// The system's printers and print dialog.
std::unique_ptr<PrintDevices> systemPrintDevices();

struct PrintOutcome
{
    bool printed = false;   // false: cancelled, failed or still printing
    bool pending = false;   // a long job goes on in the background
    bool cancelled = false; // the user cancelled it
    QString error;          // set when it failed
    QList<int> rowsOnPage;  // rows printed on each page
};

// Prints the rows of a log table, taken as they are when the job is made,
// page by page: each page headed by the caption, the column heads and its
// page number. Every column is as wide as its longest text needs; when the
// page is too narrow the name column gives up room first, and a text wider
// than its column wraps onto more lines: nothing is ever cut.
class PrintJob : public QObject
{
    Q_OBJECT

public:
    // Prints the model's `columns` (its present row order) on `printer`.
    PrintJob(std::unique_ptr<QPrinter> printer, const QString& caption, const CallLogModel& model,
             const QList<int>& columns, QObject* parent = nullptr);
    ~PrintJob() override;

    // Starts the printer and lays out the pages; false (outcome().error
    // set) when the printer cannot start.
    bool begin();
    int pageCount() const { return int(m_pageStarts.size()); }
    // Prints every page now.
    PrintOutcome runToEnd();
    // Prints the pages a few at a time between the program's other events,
    // with a progress dialog (over `dialogParent`) whose Cancel stops it.
    // finished() tells the outcome.
    void runInBackground(QWidget* dialogParent);
    void cancel();

    const PrintOutcome& outcome() const { return m_outcome; }

Q_SIGNALS:
    void finished(const telvaro::calllog::PrintOutcome& outcome);

private:
    bool printPage(int page);
    // Ends the printout (printed, or the printer's error).
    void end();
    // Stops the printout half-way: taken back where the printer can.
    void abandon();
    void finish();
    void printSome();
    int textWidth(const QString& text) const;

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QFontMetrics> m_metrics;
    QString m_caption;
    QStringList m_heads;
    QList<QStringList> m_rows;
    int m_nameColumn = 0;
    QFont m_body;
    QFont m_bold;
    QFont m_title;
    QRect m_page;
    QList<int> m_lefts;
    QList<int> m_widths;
    QList<int> m_rowLines;   // lines each row takes
    QList<int> m_pageStarts; // first row of each page
    int m_nextPage = 0;
    int m_line = 0;
    int m_gap = 0;
    int m_titleHeight = 0;
    int m_headTop = 0;
    int m_firstRowTop = 0;
    mutable int m_charWidth[256] = {};
    mutable QHash<char16_t, int> m_otherWidths;
    PrintOutcome m_outcome;
    QTimer* m_timer = nullptr;
    QPointer<QProgressDialog> m_dialog;
    QProgressBar* m_bar = nullptr;
};

// Jobs of more pages than this print in the background with a progress
// dialog.
inline constexpr int kPagesPrintedAtOnce = 20;

// Gets a printer (default printer, else the dialog) and prints; failures are
// told to the user. A long job goes on in the background (outcome pending),
// as a child of `owner`.
PrintOutcome printLog(PrintDevices& devices, Prompter& prompter, QWidget* parent, QObject* owner,
                      const QString& caption, const CallLogModel& model, const QList<int>& columns);

} // namespace telvaro::calllog
