#include "Progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace kestrova::cli {

Progress::Progress(std::ostream& out, Mode mode, std::size_t width, std::string label)
    : out_(out),
      mode_(mode),
      width_(std::max<std::size_t>(width, 2)),
      prefix_(label.empty() ? std::string() : label + ": ") {}

void Progress::Started() {
    if (!prefix_.empty()) Line("searching");
}

void Progress::ResultList(std::size_t count) {
    listed_ = count;
    Line("listed " + std::to_string(count) + (count == 1 ? " result" : " results"));
}

void Progress::PageSkipped(int32_t N, const std::string& url) {
    ++skipped_;
    numbers_[url] = N;
    Line("skipped " + std::to_string(N) + " " + url);
}

void Progress::StartSavingPage(int32_t N, const std::string& url) {
    numbers_[url] = N;
    saving_.emplace_back(N, url);
    Line("saving " + std::to_string(N) + " " + url);
}

void Progress::SavingPageComplete(const std::string& url, bool IsSuccess,
                                  const std::string& ErrDescription) {
    std::erase_if(saving_, [&](const auto& page) { return page.second == url; });
    ++(IsSuccess ? saved_ : failed_);
    const std::string what = IsSuccess ? "saved " : "failed ";
    Line(what + NumberOf(url) + url + (IsSuccess ? "" : ": " + ErrDescription));
}

void Progress::Waiting(int32_t Seconds, const std::string& Reason) {
    const std::string text = "waiting " + std::to_string(Seconds) + " s: " + Reason;
    if (mode_ == Mode::Lines) out_ << prefix_ << text << '\n' << std::flush;
    // On a terminal the wait shows until the next event redraws the line.
    if (mode_ == Mode::Terminal) Redraw(text);
}

std::string Progress::NumberOf(const std::string& url) const {
    const auto it = numbers_.find(url);
    return it == numbers_.end() ? std::string() : std::to_string(it->second) + " ";
}

void Progress::Line(const std::string& text) {
    if (mode_ == Mode::Lines) out_ << prefix_ << text << '\n' << std::flush;
    if (mode_ == Mode::Terminal) Redraw();
}

void Progress::Redraw(const std::string& note) {
    std::string line = prefix_ + std::to_string(listed_) + " listed, " + std::to_string(saved_) +
                       " saved, " + std::to_string(failed_) + " failed, " +
                       std::to_string(skipped_) + " skipped";
    // The oldest page under way is the one the job is waiting for.
    if (!note.empty())
        line += " | " + note;
    else if (!saving_.empty())
        line += " | saving " + std::to_string(saving_.front().first) + " " + saving_.front().second;
    // A line that wraps cannot be redrawn in place; the last column stays free for the cursor.
    if (line.size() > width_ - 1) line.resize(width_ - 1);
    out_ << '\r' << line << "\x1b[K" << std::flush;
    drawn_ = true;
}

void Progress::Finish() {
    if (drawn_) out_ << '\n' << std::flush;
    drawn_ = false;
}

Progress::Mode ProgressModeFor(int fd, bool quiet, std::size_t& width) {
    if (quiet) return Progress::Mode::Quiet;
    if (!::isatty(fd)) return Progress::Mode::Lines;
    winsize size{};
    width = (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) ? size.ws_col : 80;
    return Progress::Mode::Terminal;
}

}  // namespace kestrova::cli
