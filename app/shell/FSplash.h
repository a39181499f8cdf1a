#pragma once

#include <chrono>

#include <QTimer>
#include <QWidget>

class QLabel;

namespace kestrova {

// The start-up picture: borderless, centred, 400 x 316. Unloads itself when its timer runs
// out or on a mouse release over the picture, whichever comes first; start-up waits for that.
class FSplash : public QWidget {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kShowTime{3000};

    // The timer runs from creation.
    explicit FSplash(std::chrono::milliseconds showTime = kShowTime);
    ~FSplash() override;

    const QTimer& Timer1() const { return timer1_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Unload();

    QTimer timer1_;
    QLabel* image1_;
};

}  // namespace kestrova
