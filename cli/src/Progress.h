#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace kestrova::cli {

// Shows a job's progress on standard error: one line redrawn in place on a terminal, one
// plain line per event otherwise (for logs and scripts), or nothing.
class Progress {
  public:
    enum class Mode { Quiet, Terminal, Lines };

    // `width` is the terminal's width in columns (Terminal mode only). A `label` (the
    // keyword and its place in a keyword list) leads every line.
    Progress(std::ostream& out, Mode mode, std::size_t width = 80, std::string label = {});

    // Shows the label alone while the results pages are fetched; nothing without a label.
    void Started();
    void ResultList(std::size_t count);
    void PageSkipped(int32_t N, const std::string& url);
    void StartSavingPage(int32_t N, const std::string& url);
    void SavingPageComplete(const std::string& url, bool IsSuccess,
                            const std::string& ErrDescription);
    // The job waits before it asks a server again.
    void Waiting(int32_t Seconds, const std::string& Reason);
    // Ends the terminal line, so later messages start on a line of their own.
    void Finish();

  private:
    void Line(const std::string& text);
    // `note`, when given, takes the place of the page under way.
    void Redraw(const std::string& note = {});
    std::string NumberOf(const std::string& url) const;

    std::ostream& out_;
    Mode mode_;
    std::size_t width_;
    std::string prefix_;  // the label and ": ", or empty
    bool drawn_ = false;
    std::size_t listed_ = 0, saved_ = 0, failed_ = 0, skipped_ = 0;
    std::map<std::string, int32_t> numbers_;
    std::vector<std::pair<int32_t, std::string>> saving_;  // oldest first
};

// Terminal when `fd` is one, else Lines; Quiet when asked. `width` gets the terminal's width.
Progress::Mode ProgressModeFor(int fd, bool quiet, std::size_t& width);

}  // namespace kestrova::cli
