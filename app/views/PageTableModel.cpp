#include "PageTableModel.h"

#include "StateIcon.h"

namespace kestrova {

PageTableModel::PageTableModel(JobProgress::SavedPathRule savedPath, QObject* parent)
    : QAbstractTableModel(parent), progress_(std::move(savedPath)) {
    for (int i = 0; i < kResultStateCount; ++i)
        icons_[i] = LoadStateIcon(static_cast<ResultState>(i));
    progress_.SetListener(this);
}

int PageTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(progress_.Rows().size());
}

int PageTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant PageTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ResultRow& row = Row(index.row());
    switch (index.column()) {
        case kColumnN:
            // Text, not a number: a number would be shown with the locale's digit grouping.
            if (role == Qt::DisplayRole) return QString::number(row.n.value_or(0));
            if (role == Qt::DecorationRole) return icons_[static_cast<size_t>(row.state)];
            break;
        case kColumnUrl:
            if (role == Qt::DisplayRole) return QString::fromStdString(row.url);
            break;
        case kColumnDownload:
            // An error text is often wider than its column: the tool tip shows it whole.
            if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
                return row.state == ResultState::Failed ? QString::fromStdString(row.detail)
                                                        : QString::fromLatin1(StateName(row.state));
            break;
        default:
            break;
    }
    return {};
}

QVariant PageTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kColumnN:
            return tr("N");
        case kColumnUrl:
            return tr("URL");
        case kColumnDownload:
            return tr("Download");
        default:
            return {};
    }
}

void PageTableModel::RowAboutToBeAdded(std::size_t index) {
    const int row = static_cast<int>(index);
    beginInsertRows({}, row, row);
}

void PageTableModel::RowChanged(std::size_t index) {
    const int row = static_cast<int>(index);
    emit dataChanged(this->index(row, kColumnN), this->index(row, kColumnDownload));
}

}  // namespace kestrova
