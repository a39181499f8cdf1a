#include "taskcore/KeywordSequence.h"

#include "taskcore/KeywordList.h"

namespace kestrova {

KeywordSequence::KeywordSequence(std::vector<std::string> keywords, std::chrono::milliseconds pause)
    : keywords_(std::move(keywords)), pause_(pause) {}

KeywordSequence::Step KeywordSequence::Start() {
    current_ = 0;
    failed_ = 0;
    cancelled_ = false;
    running_ = !keywords_.empty();
    return running_ ? Step::Run : Step::Done;
}

KeywordSequence::Step KeywordSequence::JobEnded(bool succeeded) {
    if (!running_) return Step::Done;
    if (!succeeded) ++failed_;
    if (cancelled_ || current_ + 1 >= keywords_.size()) return Stop();
    if (pause_.count() > 0) return Step::Pause;
    ++current_;
    return Step::Run;
}

KeywordSequence::Step KeywordSequence::PauseOver() {
    if (!running_ || cancelled_) return Stop();
    ++current_;
    return Step::Run;
}

void KeywordSequence::Cancel() {
    if (running_) cancelled_ = true;
}

KeywordSequence::Step KeywordSequence::Stop() {
    running_ = false;
    return Step::Done;
}

const std::string& KeywordSequence::Keyword() const {
    static const std::string none;
    return current_ < keywords_.size() ? keywords_[current_] : none;
}

std::string KeywordSequence::Label() const {
    return KeywordLabel(Keyword(), current_, keywords_.size());
}

}  // namespace kestrova
