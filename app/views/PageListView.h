#pragma once

#include <QTreeView>

namespace kestrova {

// The progress view's list ("lv") in report style, several rows selectable. Key releases and
// mouse releases are passed on as signals; the list's own copy and select-all keys are left
// to the view's key-up rule.
class PageListView : public QTreeView {
    Q_OBJECT

  public:
    explicit PageListView(QWidget* parent = nullptr);

    // The row the list's commands act on: the current row when it is selected; -1 when none.
    int SelectedRow() const;
    bool IsRowSelected(int row) const;

  signals:
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void MouseUp(Qt::MouseButton button, const QPoint& globalPos);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kestrova
