#pragma once

#include <algorithm>
#include <memory>
#include <vector>

namespace tessel {

// Any number of event sinks of one sink interface. Raise calls every sink connected
// when the raise began and still connected when its turn comes, so a handler may
// connect or disconnect sinks. Single-threaded: the owner's thread only.
template <class Sink>
class EventSource {
  public:
    // Keeps `sink` connected while the returned connection lives.
    class Connection {
      public:
        Connection() = default;
        Connection(Connection&&) noexcept = default;
        Connection& operator=(Connection&& other) noexcept {
            Reset();
            entry_ = std::move(other.entry_);
            return *this;
        }
        ~Connection() { Reset(); }
        void Reset() {
            if (auto entry = entry_.lock()) *entry = nullptr;
            entry_.reset();
        }

      private:
        friend class EventSource;
        explicit Connection(std::weak_ptr<Sink*> entry) : entry_(std::move(entry)) {}
        std::weak_ptr<Sink*> entry_;
    };

    [[nodiscard]] Connection Connect(Sink& sink) {
        Prune();
        auto entry = std::make_shared<Sink*>(&sink);
        sinks_.push_back(entry);
        return Connection(entry);
    }

    template <class Method, class... Args>
    void Raise(Method method, const Args&... args) {
        auto snapshot = sinks_;
        for (auto& entry : snapshot) {
            if (Sink* sink = *entry) (sink->*method)(args...);
        }
    }

    bool HasSinks() const {
        return std::any_of(sinks_.begin(), sinks_.end(), [](auto& e) { return *e != nullptr; });
    }

  private:
    void Prune() {
        std::erase_if(sinks_, [](auto& e) { return *e == nullptr; });
    }
    std::vector<std::shared_ptr<Sink*>> sinks_;
};

}  // namespace tessel
