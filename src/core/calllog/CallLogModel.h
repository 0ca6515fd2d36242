// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calllog/CallLogFile.h"

#include <QAbstractTableModel>
#include <QList>

#include <vector>

namespace telvaro::calllog {

// The table of a log window: one row per record, in the order the window
// shows them. Columns: name, number, date and time, and (outgoing log only)
// the entry key, which the window keeps hidden.
class CallLogModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, NumberColumn = 1, DateColumn = 2, KeyColumn = 3 };

    explicit CallLogModel(LogKind kind, QObject* parent = nullptr);

    LogKind kind() const { return m_kind; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const QList<CallLogRow>& rows() const { return m_rows; }
    const CallLogRow& row(int i) const { return m_rows.at(i); }
    void setRows(QList<CallLogRow> rows);
    // Puts one row in at `at` (0: the top).
    void insertRecord(int at, const CallLogRow& row);
    // Removes every row whose flag in `doomed` is set, in one pass, keeping
    // the order of the rest. Returns the number removed.
    int removeMarked(const std::vector<bool>& doomed);

    // Sorts by `column`, keeping the order of equal rows. Names, numbers and
    // keys sort as text without regard to case; the date column by date and
    // time, texts that hold no readable date as text after the dates.
    void sortBy(int column, Qt::SortOrder order);

private:
    LogKind m_kind;
    QList<CallLogRow> m_rows;
};

} // namespace telvaro::calllog
