#include "corpus/ChunkedBody.h"

#include <algorithm>

namespace fetchcore {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

void ChunkedBody::Feed(std::string_view bytes) {
    while (!bytes.empty() && state_ != State::Done) {
        if (state_ == State::Data) {
            // Data goes on in runs, not byte by byte.
            const auto run = static_cast<std::size_t>(std::min<uint64_t>(left_, bytes.size()));
            data_(bytes.substr(0, run));
            bytes.remove_prefix(run);
            left_ -= run;
            if (left_ == 0) state_ = State::DataEnd;
            continue;
        }
        Take(bytes.front());
        bytes.remove_prefix(1);
    }
}

// The framing around the data, one character at a time: sizes, the line ends after the
// data, and trailer lines up to the blank one. A body cut anywhere hands on what came.
void ChunkedBody::Take(char c) {
    switch (state_) {
        case State::Size:
            if (const int digit = HexValue(c); digit >= 0) {
                left_ = left_ * 16 + static_cast<uint64_t>(digit);
            } else if (c == '\n') {
                state_ = left_ > 0 ? State::Data : State::Trailer;
            } else {
                state_ = State::Extension;  // ";name=value" or the CR
            }
            return;
        case State::Extension:
            if (c == '\n') state_ = left_ > 0 ? State::Data : State::Trailer;
            return;
        case State::DataEnd:
            if (c == '\n') state_ = State::Size;
            return;
        case State::Trailer:  // at the start of a trailer line: a blank one ends the body
            if (c == '\n') {
                state_ = State::Done;
            } else if (c != '\r') {
                state_ = State::TrailerLine;
            }
            return;
        case State::TrailerLine:
            if (c == '\n') state_ = State::Trailer;
            return;
        case State::Data:
        case State::Done:
            return;
    }
}

}  // namespace fetchcore
