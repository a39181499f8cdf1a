#pragma once

#include <array>

#include <QAbstractTableModel>
#include <QIcon>

#include "taskcore/JobProgress.h"

namespace kestrova {

// The rows of a job's results as the progress list shows them: "N" with the state's picture,
// "URL", and "Download" with the state, or the error of a failed page. Owns the rows; the
// view feeds them the saver's events through Progress().
class PageTableModel : public QAbstractTableModel, private JobProgressListener {
    Q_OBJECT

  public:
    enum Column { kColumnN = 0, kColumnUrl = 1, kColumnDownload = 2, kColumnCount = 3 };

    explicit PageTableModel(JobProgress::SavedPathRule savedPath, QObject* parent = nullptr);

    JobProgress& Progress() { return progress_; }
    const JobProgress& Progress() const { return progress_; }
    const ResultRow& Row(int row) const { return progress_.Rows().at(static_cast<size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    void RowsAboutToBeCleared() override { beginResetModel(); }
    void RowsCleared() override { endResetModel(); }
    void RowAboutToBeAdded(std::size_t index) override;
    void RowAdded() override { endInsertRows(); }
    void RowChanged(std::size_t index) override;

    JobProgress progress_;
    std::array<QIcon, kResultStateCount> icons_;
};

}  // namespace kestrova
