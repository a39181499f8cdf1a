#include "PageListWidget.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "tessel/Error.h"

namespace kestrova {
namespace {

constexpr int kUrlRole = Qt::UserRole;
constexpr int kNumberRole = Qt::UserRole + 1;
constexpr int kTagRole = Qt::UserRole + 2;

}  // namespace

PageListWidget::PageListWidget(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("lv"));
    setHeaderLabels({tr("N"), tr("URL"), tr("Download")});
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // keeps a list of hundreds of rows cheap to lay out
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
    setTextElideMode(Qt::ElideRight);
    header()->setStretchLastSection(false);  // "Download" keeps its width, "URL" takes the rest
    for (int i = 0; i < kPageStateCount; ++i) icons_[i] = LoadStateIcon(static_cast<PageState>(i));
}

QTreeWidgetItem* PageListWidget::AddRow(int N, const std::string& url, PageState state,
                                        const QString& text) {
    if (rowsByUrl_.contains(url))
        throw tessel::ComError(tessel::err::kDuplicateKey, "Key is not unique in collection");
    auto* row = new QTreeWidgetItem;
    row->setText(kColumnN, QString::number(N));
    row->setText(kColumnUrl, QString::fromStdString(url));
    row->setData(kColumnN, kUrlRole, QByteArray::fromStdString(url));
    row->setData(kColumnN, kNumberRole, N);
    SetState(row, state, text);
    addTopLevelItem(row);
    rowsByUrl_.emplace(url, row);
    return row;
}

QTreeWidgetItem* PageListWidget::Row(const std::string& url) const {
    const auto found = rowsByUrl_.find(url);
    if (found == rowsByUrl_.end())
        throw tessel::ComError(tessel::err::kInvalidArgument, "Element not found");
    return found->second;
}

void PageListWidget::SetState(QTreeWidgetItem* row, PageState state, const QString& text) {
    row->setIcon(kColumnN, icons_[static_cast<size_t>(state)]);
    row->setText(kColumnDownload, text);
    row->setToolTip(kColumnDownload, text);  // an error text is often wider than its column
}

void PageListWidget::RemoveAll() {
    rowsByUrl_.clear();
    clear();
}

QTreeWidgetItem* PageListWidget::SelectedRow() const {
    QTreeWidgetItem* row = currentItem();
    return row && row->isSelected() ? row : nullptr;
}

std::string PageListWidget::UrlOf(const QTreeWidgetItem* row) {
    return row->data(kColumnN, kUrlRole).toByteArray().toStdString();
}

int PageListWidget::NumberOf(const QTreeWidgetItem* row) {
    return row->data(kColumnN, kNumberRole).toInt();
}

QString PageListWidget::TagOf(const QTreeWidgetItem* row) {
    return row->data(kColumnN, kTagRole).toString();
}

void PageListWidget::SetTag(QTreeWidgetItem* row, const QString& tag) {
    row->setData(kColumnN, kTagRole, tag);
}

void PageListWidget::keyPressEvent(QKeyEvent* event) {
    // The list would copy only the current row's number on the press; the view copies URLs
    // on the release instead, and selects all there too.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void PageListWidget::keyReleaseEvent(QKeyEvent* event) {
    QTreeWidget::keyReleaseEvent(event);
    if (!event->isAutoRepeat()) emit KeyUp(event->key(), event->modifiers());
}

void PageListWidget::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    emit MouseUp(event->button(), event->globalPosition().toPoint());
}

}  // namespace kestrova
