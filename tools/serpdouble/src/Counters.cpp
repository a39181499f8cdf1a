#include "Counters.h"

#include <algorithm>

namespace serpdouble {

Counters::Stall::Stall(Counters& counters) : counters_(counters) {
    counters_.Change([](Stats& s) { ++s.stalled; });
}

Counters::Stall::~Stall() {
    counters_.Change([](Stats& s) { --s.stalled; });
}

Counters::Answering::Answering(Counters& counters) : counters_(counters) {
    counters_.Change([](Stats& s) { s.maxAnswering = std::max(s.maxAnswering, ++s.answering); });
}

Counters::Answering::~Answering() {
    counters_.Change([](Stats& s) { --s.answering; });
}

std::shared_ptr<Counters::Visit> Counters::Arrive(RequestRecord record) {
    {
        std::lock_guard lock(mutex_);
        switch (record.kind) {
            case PathKind::Search:
                ++stats_.searchRequests;
                break;
            case PathKind::Page:
                ++stats_.pageRequests;
                break;
            case PathKind::Other:
                ++stats_.otherRequests;
                break;
        }
        ++stats_.inFlight;
        stats_.maxInFlight = std::max(stats_.maxInFlight, stats_.inFlight);
        stats_.last = record;
        records_.push_back(std::move(record));
        if (records_.size() > kKeptRecords) records_.pop_front();
    }
    changed_.notify_all();
    return std::make_shared<Visit>(*this);
}

int Counters::TimesAsked(const std::string& target) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(records_.begin(), records_.end(),
                                          [&](const auto& r) { return r.target == target; }));
}

void Counters::Accepted() {
    Change([](Stats& s) { ++s.connections; });
}

void Counters::Leave() {
    Change([](Stats& s) { --s.inFlight; });
}

void Counters::Change(const std::function<void(Stats&)>& change) {
    {
        std::lock_guard lock(mutex_);
        change(stats_);
    }
    changed_.notify_all();
}

Stats Counters::Snapshot() const {
    std::lock_guard lock(mutex_);
    return stats_;
}

std::vector<RequestRecord> Counters::Requests() const {
    std::lock_guard lock(mutex_);
    return {records_.begin(), records_.end()};
}

bool Counters::WaitFor(const std::function<bool(const Stats&)>& ready,
                       std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ready(stats_); });
}

void Counters::Reset() {
    Change([this](Stats& s) {
        // Requests still being answered stay counted, so the in-flight figure cannot go below 0.
        Stats fresh;
        fresh.inFlight = fresh.maxInFlight = s.inFlight;
        fresh.answering = fresh.maxAnswering = s.answering;
        fresh.stalled = s.stalled;
        s = std::move(fresh);
        records_.clear();
    });
}

}  // namespace serpdouble
