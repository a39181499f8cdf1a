#pragma once

#include <array>
#include <string>
#include <unordered_map>

#include <QIcon>
#include <QTreeWidget>

#include "PageState.h"

namespace kestrova {

// The progress view's list ("lv"): one row per page in report style, columns "N", "URL",
// "Download", found by the page's URL (its key). Key releases and mouse releases are passed
// on as signals; the list's own copy and select-all keys are left to the view's key-up rule.
class PageListWidget : public QTreeWidget {
    Q_OBJECT

  public:
    enum Column { kColumnN = 0, kColumnUrl = 1, kColumnDownload = 2 };

    explicit PageListWidget(QWidget* parent = nullptr);

    // Adds a row at the end. A URL that already has a row raises a duplicate-key error.
    QTreeWidgetItem* AddRow(int N, const std::string& url, PageState state, const QString& text);
    // The row of `url`; raises an error when there is none.
    QTreeWidgetItem* Row(const std::string& url) const;
    void SetState(QTreeWidgetItem* row, PageState state, const QString& text);
    void RemoveAll();

    // The row the list's commands act on: the current row when it is selected.
    QTreeWidgetItem* SelectedRow() const;

    static std::string UrlOf(const QTreeWidgetItem* row);
    static int NumberOf(const QTreeWidgetItem* row);
    static QString TagOf(const QTreeWidgetItem* row);
    static void SetTag(QTreeWidgetItem* row, const QString& tag);

  signals:
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void MouseUp(Qt::MouseButton button, const QPoint& globalPos);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::array<QIcon, kPageStateCount> icons_;
    std::unordered_map<std::string, QTreeWidgetItem*> rowsByUrl_;  // rows owned by the tree
};

}  // namespace kestrova
