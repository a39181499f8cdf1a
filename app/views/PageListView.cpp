#include "PageListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kestrova {

PageListView::PageListView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("lv"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // keeps a list of hundreds of rows cheap to lay out
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
    setTextElideMode(Qt::ElideRight);
    header()->setStretchLastSection(false);  // "Download" keeps its width, "URL" takes the rest
}

int PageListView::SelectedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() && IsRowSelected(current.row()) ? current.row() : -1;
}

bool PageListView::IsRowSelected(int row) const {
    return model() && selectionModel()->isSelected(model()->index(row, 0, rootIndex()));
}

void PageListView::keyPressEvent(QKeyEvent* event) {
    // The list would copy only the current row's number on the press; the view copies URLs
    // on the release instead, and selects all there too.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void PageListView::keyReleaseEvent(QKeyEvent* event) {
    QTreeView::keyReleaseEvent(event);
    if (!event->isAutoRepeat()) emit KeyUp(event->key(), event->modifiers());
}

void PageListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    emit MouseUp(event->button(), event->globalPosition().toPoint());
}

}  // namespace kestrova
