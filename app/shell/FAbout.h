#pragma once

#include <vector>

#include <QDialog>
#include <QLine>
#include <QString>

class QLabel;
class QPushButton;

namespace kestrova {

// The About window: logo, product and version, legal notice, and the home page link, on
// dark blue inside a white frame. Created for each use, shown modally; OK, Enter and Esc
// close it.
class FAbout : public QDialog {
    Q_OBJECT

  public:
    explicit FAbout(QWidget* owner = nullptr);
    ~FAbout() override;

    // The text of lblName, one line per line, ending with a line break.
    static QString NameText();
    // The eight lines of the frame for a client area of `size`, in pixels.
    static std::vector<QLine> FrameLines(QSize size);

    void reject() override;  // Esc: the same as OK

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LayOut();
    void AlignLinkWithOK();

    QLabel* Image1_;
    QLabel* lblName_;
    QLabel* lblLink_;
    QPushButton* cmdOK_;
};

}  // namespace kestrova
