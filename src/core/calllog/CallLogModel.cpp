// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calllog/CallLogModel.h"

#include <algorithm>
#include <numeric>

namespace telvaro::calllog {

CallLogModel::CallLogModel(LogKind kind, QObject* parent)
    : QAbstractTableModel(parent), m_kind(kind)
{
}

int CallLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CallLogModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_kind == LogKind::Outgoing ? 4 : 3;
}

QVariant CallLogModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    const CallLogRow& r = m_rows.at(index.row());
    switch (index.column()) {
    case NameColumn:
        return r.name;
    case NumberColumn:
        return r.number;
    case DateColumn:
        return r.dateTime;
    case KeyColumn:
        return r.entryKey;
    default:
        return {};
    }
}

QVariant CallLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return tr("NAME");
    case NumberColumn:
        return tr("PHONE NO.");
    case DateColumn:
        //: Column heads of the outgoing and the incoming calls log
        return m_kind == LogKind::Outgoing ? tr("DATE/TIME") : tr("RECEIVED");
    case KeyColumn:
        return QStringLiteral("mess");
    default:
        return {};
    }
}

void CallLogModel::setRows(QList<CallLogRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CallLogModel::insertRecord(int at, const CallLogRow& row)
{
    at = std::clamp(at, 0, int(m_rows.size()));
    beginInsertRows({}, at, at);
    m_rows.insert(at, row);
    endInsertRows();
}

int CallLogModel::removeMarked(const std::vector<bool>& doomed)
{
    QList<CallLogRow> kept;
    kept.reserve(m_rows.size());
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (size_t(i) >= doomed.size() || !doomed[size_t(i)])
            kept.append(std::move(m_rows[i]));
    }
    const int removed = int(m_rows.size() - kept.size());
    if (removed == 0) {
        // The same rows in the same order: nothing for the views to redo.
        m_rows = std::move(kept);
        return 0;
    }
    beginResetModel();
    m_rows = std::move(kept);
    endResetModel();
    return removed;
}

void CallLogModel::sortBy(int column, Qt::SortOrder order)
{
    const qsizetype n = m_rows.size();
    std::vector<int> perm(static_cast<size_t>(n));
    std::iota(perm.begin(), perm.end(), 0);
    const bool descending = order == Qt::DescendingOrder;

    if (column == DateColumn) {
        // Readable dates by their key; the rest as text, after the dates in
        // either direction.
        std::vector<qint64> keys(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            keys[size_t(i)] = dateSortKey(m_rows[i].dateTime);
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            const qint64 ka = keys[size_t(a)];
            const qint64 kb = keys[size_t(b)];
            if (ka >= 0 && kb >= 0)
                return descending ? kb < ka : ka < kb;
            if (ka >= 0 || kb >= 0)
                return ka >= 0;
            const int c = m_rows[a].dateTime.compare(m_rows[b].dateTime, Qt::CaseInsensitive);
            return descending ? c > 0 : c < 0;
        });
    } else {
        std::vector<QString> keys(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i) {
            const CallLogRow& r = m_rows[i];
            const QString& text = column == NameColumn     ? r.name
                                  : column == NumberColumn ? r.number
                                                           : r.entryKey;
            keys[size_t(i)] = text.toCaseFolded();
        }
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            return descending ? keys[size_t(b)] < keys[size_t(a)]
                              : keys[size_t(a)] < keys[size_t(b)];
        });
    }

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newPlace(static_cast<size_t>(n));
    QList<CallLogRow> sorted;
    sorted.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        newPlace[size_t(perm[size_t(i)])] = int(i);
        sorted.append(std::move(m_rows[perm[size_t(i)]]));
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(newPlace[size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace telvaro::calllog
