#pragma once

#include <array>

#include <QPixmap>
#include <QStatusBar>
#include <QString>

class QLabel;

namespace kestrova {

// The main window's status bar: three panels, addressed 1 to 3, each with a picture and a
// text. 1: the task's keyword; 2: the job state; 3: the last page error with its picture.
// The views find it through StatusPanels::Of(this).
class StatusPanels : public QStatusBar {
    Q_OBJECT

  public:
    static constexpr int kCount = 3;

    explicit StatusPanels(QWidget* parent = nullptr);

    // Panel numbers outside 1..3 raise a subscript error. A text too long for its panel is
    // shown cut with "…"; Text gives it whole, ShownText as shown.
    void SetText(int panel, const QString& text);
    QString Text(int panel) const;
    QString ShownText(int panel) const;
    // A null pixmap removes the picture.
    void SetPicture(int panel, const QPixmap& picture);
    QPixmap Picture(int panel) const;

    // Three equal panels whatever their texts.
    void SetPanelWidth(int pixels);
    int PanelWidth(int panel) const;

    // The status bar of the window that holds `view`; null when it has none.
    static StatusPanels* Of(const QWidget* view);

  private:
    struct Panel {
        QLabel* picture = nullptr;  // owned by the status bar
        QLabel* text = nullptr;
    };
    const Panel& At(int panel) const;

    std::array<Panel, kCount> panels_;
};

}  // namespace kestrova
