#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace kestrova {

// The order of a keyword-list run in the window: which keyword's job comes next, the pause
// before it, and the end, when the list has run out or the run was cancelled. A failed job
// is counted and the run goes on. Holds no clock and starts nothing: its owner runs the
// jobs, waits the pauses and reports back.
class KeywordSequence {
  public:
    enum class Step {
        Run,    // start the job of Keyword()
        Pause,  // wait PauseLength(), then call PauseOver()
        Done,   // the run is over; nothing more starts
    };

    KeywordSequence() = default;
    KeywordSequence(std::vector<std::string> keywords, std::chrono::milliseconds pause);

    // Run for the first keyword; Done for an empty list.
    Step Start();
    // The job of the current keyword has ended: Pause before the next (Run when there is no
    // pause), Done after the last one or a cancel.
    Step JobEnded(bool succeeded);
    // Run for the next keyword; Done when the run was cancelled meanwhile.
    Step PauseOver();
    // No job starts after this; the owner cancels the job under way.
    void Cancel();

    bool Running() const { return running_; }
    bool Cancelled() const { return cancelled_; }
    std::size_t Count() const { return keywords_.size(); }
    std::size_t Failed() const { return failed_; }
    std::chrono::milliseconds PauseLength() const { return pause_; }
    // The keyword of the job under way or next, with its place: "kites (3/40)".
    const std::string& Keyword() const;
    std::string Label() const;

  private:
    Step Stop();

    std::vector<std::string> keywords_;
    std::chrono::milliseconds pause_{0};
    std::size_t current_ = 0;
    std::size_t failed_ = 0;
    bool running_ = false;
    bool cancelled_ = false;
};

}  // namespace kestrova
