#pragma once

#include <array>
#include <memory>

#include <QObject>

class QSocketNotifier;

namespace kestrova {

// SIGTERM and SIGINT (a logout, kill, Ctrl-C in the terminal) turned into a Qt signal on the
// user-interface thread, so the window can close the orderly way. The handler only writes
// to a pipe; a QSocketNotifier reads it. One instance at a time; the previous handlers come
// back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // True once either signal has arrived (also before anyone was connected).
    bool Arrived() const { return arrived_; }

  signals:
    void Received();

  private:
    void Drain();

    std::array<int, 2> pipe_{-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    bool arrived_ = false;
};

}  // namespace kestrova
