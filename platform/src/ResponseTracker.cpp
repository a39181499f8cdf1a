#include "ResponseTracker.h"

#include "tessel/Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace platform {
namespace {

std::string_view TrimLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

// Header values are padded with spaces and tabs.
std::string_view TrimPadding(std::string_view text) {
    return tessel::TrimBlanks(text, " \t");
}

}  // namespace

void ResponseTracker::OnHeaderLine(std::string_view rawLine) {
    const auto line = TrimLineEnd(rawLine);
    if (line.starts_with("HTTP/")) {
        StartResponse(line);
    } else if (!inHeaders_) {
        return;  // trailers after the body change nothing
    } else if (line.empty()) {
        EndHeaderBlock();
    } else {
        if (tessel::StartsWithNoCase(line, "location:")) {
            hasLocation_ = !TrimPadding(line.substr(9)).empty();
        }
        heads_.back().headerLines.emplace_back(line);
    }
}

// "HTTP/1.1 200 OK", "HTTP/2 200": the code follows the first blank, the optional
// reason phrase the second.
void ResponseTracker::StartResponse(std::string_view statusLine) {
    status_ = 0;
    reason_.clear();
    body_.Clear();
    hasLocation_ = false;
    final_ = false;
    inHeaders_ = true;
    heads_.push_back({std::string(TrimPadding(statusLine)), 0, {}, {}});
    const auto codeStart = statusLine.find(' ');
    if (codeStart == std::string_view::npos) {
        return;
    }
    auto rest = statusLine.substr(codeStart + 1);
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), status_);
    if (ec != std::errc{}) {
        status_ = 0;
        return;
    }
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    reason_ = TrimPadding(rest);
    heads_.back().status = status_;
}

void ResponseTracker::EndHeaderBlock() {
    inHeaders_ = false;
    const bool interim = status_ < 200;
    // libcurl follows every 3xx that names a Location; that answer is not the final one.
    const bool followed = status_ >= 300 && status_ < 400 && hasLocation_;
    final_ = !interim && !followed;
    if (interim) {
        heads_.pop_back();
        return;
    }
    lastHeadAt_ = std::chrono::system_clock::now();
    headJustEnded_ = true;
}

bool ResponseTracker::OnBody(const char* data, std::size_t size) {
    if (body_.Size() + static_cast<int64_t>(size) > maxBodyBytes_) {
        tooLarge_ = true;
        return false;
    }
    return body_.Append({data, size});
}

void ResponseTracker::OnCompleted() {
    inHeaders_ = false;
    final_ = status_ != 0;
}

void ResponseTracker::Discard() {
    body_.Clear();
}

}  // namespace platform
