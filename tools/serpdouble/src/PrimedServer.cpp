#include "PrimedServer.h"

namespace serpdouble {

namespace {

// A connection that delivers one fixed request and swallows the answer.
class MemoryStream : public httplib::Stream {
  public:
    explicit MemoryStream(std::string request) : request_(std::move(request)) {}

    bool is_readable() const override { return offset_ < request_.size(); }
    bool is_writable() const override { return true; }
    ssize_t read(char* ptr, size_t size) override {
        const auto n = std::min(size, request_.size() - offset_);
        request_.copy(ptr, n, offset_);
        offset_ += n;
        return static_cast<ssize_t>(n);
    }
    ssize_t write(const char*, size_t size) override { return static_cast<ssize_t>(size); }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip = "127.0.0.1";
        port = 0;
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        ip = "127.0.0.1";
        port = 0;
    }
    socket_t socket() const override { return INVALID_SOCKET; }

  private:
    std::string request_;
    std::size_t offset_ = 0;
};

}  // namespace

void PrimedServer::Prime() {
    MemoryStream stream(
        "GET /prime?q=a+b&start=0 HTTP/1.1\r\nHost: 127.0.0.1\r\nRange: bytes=0-1\r\n\r\n");
    bool closed = false;
    process_request(stream, true, closed, [](httplib::Request&) {});
}

}  // namespace serpdouble
