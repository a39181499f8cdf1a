#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "Context.h"
#include "serpdouble/Fault.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace serpdouble {

// One request being answered: counts it while it lasts and gives the answer in one of the
// double's ways. Every wait ends when the double stops.
class Answer {
  public:
    Answer(const Context& ctx, const httplib::Request& req, httplib::Response& res, PathKind kind);

    // False when the double stopped first; the answer has then been given.
    bool Wait(std::chrono::milliseconds delay);
    // True when the fault has given the answer; a Delay fault only waits.
    bool Apply(const Fault& fault, std::string body, const std::string& type);
    // True when the options' rate limit refuses this request, with `body` and its headers.
    bool RateLimited(std::string body, const std::string& type);
    void Body(int status, std::string body, const std::string& type);
    // The body, or the slice of it a "Range" header asks for when `honourRange` is set.
    void Ranged(std::string body, const std::string& type, bool honourRange);
    // The body in chunks, compressed as the request accepts when its type allows.
    void Chunked(std::string body, const std::string& type);

  private:
    void Stall();
    void PartialThenStall(std::string body, const std::string& type, std::size_t bytes);
    void Redirect(const Fault& fault);

    const Context& ctx_;
    const httplib::Request& req_;
    httplib::Response& res_;
    std::shared_ptr<Counters::Visit> visit_;
    Counters::Answering answering_{ctx_.counters};
};

// The fault for an exact path, else the one for `number` in `byNumber`, else none.
const Fault* FindFault(const Context& ctx, const std::string& path,
                       const std::map<int, Fault>& byNumber, int number);

}  // namespace serpdouble
