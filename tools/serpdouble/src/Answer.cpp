#include "Answer.h"

#include <httplib.h>

#include <algorithm>
#include <set>

#include "ByteRange.h"

namespace serpdouble {

namespace {

bool IsConnectionDetail(const std::string& name) {
    // httplib files the peer's address among the headers; no client sent those.
    static const std::set<std::string> kNames = {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR",
                                                 "LOCAL_PORT"};
    return kNames.contains(name);
}

RequestRecord Record(const httplib::Request& req, PathKind kind) {
    RequestRecord record{kind, req.target, {}};
    for (const auto& [name, value] : req.headers) {
        if (!IsConnectionDetail(name)) record.headers.emplace_back(name, value);
    }
    return record;
}

std::string StatusPage(int status) {
    return "<html><head><title>" + std::to_string(status) + "</title></head><body><h1>" +
           std::to_string(status) + "</h1></body></html>";
}

}  // namespace

Answer::Answer(const Context& ctx, const httplib::Request& req, httplib::Response& res,
               PathKind kind)
    : ctx_(ctx), req_(req), res_(res), visit_(ctx.counters.Arrive(Record(req, kind))) {
    // httplib cuts every routed body to the parsed "Range" itself; the double decides
    // alone whether to honour it. The request is the server's own mutable object.
    const_cast<httplib::Request&>(req).ranges.clear();
}

bool Answer::Wait(std::chrono::milliseconds delay) {
    if (delay.count() <= 0 || !ctx_.stop.SleepFor(delay)) return true;
    Body(503, StatusPage(503), "text/html");
    return false;
}

bool Answer::Apply(const Fault& fault, std::string body, const std::string& type) {
    switch (fault.kind) {
        case Fault::Kind::Status:
            Body(fault.status, StatusPage(fault.status), "text/html");
            break;
        case Fault::Kind::Redirect:
            Redirect(fault);
            break;
        case Fault::Kind::Delay:
            return !Wait(fault.delay);
        case Fault::Kind::Stall:
            Stall();
            break;
        case Fault::Kind::PartialThenStall:
            PartialThenStall(std::move(body), type, fault.partialBytes);
            break;
    }
    return true;
}

bool Answer::RateLimited(std::string body, const std::string& type) {
    const auto& limit = ctx_.options.rateLimit;
    // This request is among the kept ones already.
    if (limit.times <= 0 || ctx_.counters.TimesAsked(req_.target) > limit.times) return false;
    if (!limit.retryAfter.empty()) res_.set_header("Retry-After", limit.retryAfter);
    if (!limit.rateLimitReset.empty()) res_.set_header("X-RateLimit-Reset", limit.rateLimitReset);
    Body(limit.status, std::move(body), type);
    return true;
}

void Answer::Body(int status, std::string body, const std::string& type) {
    res_.status = status;
    if (body.empty()) {
        res_.set_content(std::string(), type);
        return;
    }
    // Served through a provider that holds the visit, so the request counts as in
    // flight until its last byte is written.
    auto data = std::make_shared<const std::string>(std::move(body));
    res_.set_content_provider(
        data->size(), type,
        [data, visit = visit_](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            return sink.write(data->data() + offset, length);
        });
}

void Answer::Ranged(std::string body, const std::string& type, bool honourRange) {
    if (!honourRange || !req_.has_header("Range")) return Body(200, std::move(body), type);
    const auto size = std::to_string(body.size());
    const auto range = ReadByteRange(req_.get_header_value("Range"), body.size());
    switch (range.kind) {
        case ByteRange::Kind::Whole:
            return Body(200, std::move(body), type);
        case ByteRange::Kind::Unsatisfiable:
            res_.set_header("Content-Range", "bytes */" + size);
            return Body(416, std::string(), type);
        case ByteRange::Kind::Slice:
            res_.set_header("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                                 std::to_string(range.last) + "/" + size);
            return Body(206, body.substr(range.first, range.last - range.first + 1), type);
    }
}

void Answer::Chunked(std::string body, const std::string& type) {
    res_.status = 200;
    auto data = std::make_shared<const std::string>(std::move(body));
    res_.set_chunked_content_provider(
        type, [data, visit = visit_](std::size_t offset, httplib::DataSink& sink) {
            constexpr std::size_t kChunk = 16 * 1024;
            if (offset < data->size()) {
                return sink.write(data->data() + offset, std::min(kChunk, data->size() - offset));
            }
            sink.done();
            return true;
        });
}

void Answer::Stall() {
    {
        Counters::Stall stall(ctx_.counters);
        ctx_.stop.WaitRaised();
    }
    Body(503, StatusPage(503), "text/html");
}

void Answer::PartialThenStall(std::string body, const std::string& type, std::size_t bytes) {
    if (body.empty()) return Stall();
    auto data = std::make_shared<const std::string>(std::move(body));
    const auto sent = std::min(bytes, data->size());
    res_.status = 200;
    res_.set_content_provider(data->size(), type,
                              [data, sent, ctx = &ctx_, visit = visit_](
                                  std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                  if (offset == 0 && sent > 0) sink.write(data->data(), sent);
                                  Counters::Stall stall(ctx->counters);
                                  ctx->stop.WaitRaised();
                                  return false;  // breaks the connection with the body unfinished
                              });
}

void Answer::Redirect(const Fault& fault) {
    if (!fault.location.empty()) {
        const bool relative = fault.location.starts_with("/");
        res_.set_header("Location", relative ? ctx_.base + fault.location : fault.location);
    }
    Body(fault.status, StatusPage(fault.status), "text/html");
}

const Fault* FindFault(const Context& ctx, const std::string& path,
                       const std::map<int, Fault>& byNumber, int number) {
    if (const auto found = ctx.options.pathFaults.find(path);
        found != ctx.options.pathFaults.end()) {
        return &found->second;
    }
    const auto found = byNumber.find(number);
    return found == byNumber.end() ? nullptr : &found->second;
}

}  // namespace serpdouble
