#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QTimer>

#include "fetchcore/CSaver.h"
#include "taskcore/KeywordSequence.h"

namespace kestrova {

// Runs a keyword list on the window's saver: one job per keyword, in turn, with the pause
// between them. A job that fails, or whose task cannot be made, is told and the run goes
// on; Cancel cancels the job under way and starts no other.
class KeywordRunner : public QObject, private fetchcore::CSaverEvents {
    Q_OBJECT

  public:
    // The task for a keyword, or null with why in `cause`.
    using MakeTask = std::function<std::shared_ptr<fetchcore::CTask>(const std::string& keyword,
                                                                     std::string& cause)>;

    KeywordRunner(fetchcore::CSaver& saver, MakeTask makeTask, QObject* parent = nullptr);

    // Starts the first keyword's job at once. Ignored while a run is under way.
    void Start(std::vector<std::string> keywords, std::chrono::milliseconds pause);
    void Cancel();
    bool Running() const { return sequence_.Running(); }

  signals:
    void KeywordStarted(const QString& label);  // "kites (3/40)"
    void JobFailed(const QString& keyword, const QString& description);
    void Finished(int count, int failed, bool cancelled);

  private:
    void Complete(bool IsSuccess, const std::string& ErrDescription) override;
    void Follow(KeywordSequence::Step step);
    void Due();
    void RunCurrent();
    void Failed(const std::string& description);

    fetchcore::CSaver& saver_;
    MakeTask makeTask_;
    tessel::EventSource<fetchcore::CSaverEvents>::Connection events_;
    KeywordSequence sequence_;
    // The next step waits here, also when it is due at once: a job is never started from
    // inside the saver's own event.
    QTimer next_;
    bool pausing_ = false;
    std::string job_;  // the ID of the job under way
};

}  // namespace kestrova
