#include "Answers.h"

#include <map>

#include "Socket.h"
#include "serpdouble/ResultsPage.h"

namespace hostile {
namespace {

struct Reply {
    int fd;
    const Site& site;
    const StopSignal& stop;

    bool Send(std::string_view bytes) const { return SendAll(fd, bytes); }
};

using Serve = void (*)(const Reply&);

std::string Head(const std::string& status, const std::string& headers) {
    return "HTTP/1.1 " + status + "\r\n" + headers + "Connection: close\r\n\r\n";
}

std::string Html(std::size_t size) {
    std::string body = "<html><body>";
    body.resize(size > body.size() + 15 ? size - 15 : body.size(), 'k');
    return body + "</body></html>\n";
}

// A whole, well-formed answer: the one honest thing this server says.
void SendPage(const Reply& r, const std::string& page) {
    // Head and body apart: the body may be 50 MB, not to be copied for a few bytes more.
    if (r.Send(Head("200 OK", "Content-Type: text/html\r\nContent-Length: " +
                                  std::to_string(page.size()) + "\r\n")))
        r.Send(page);
}

void HeadersForever(const Reply& r) {
    if (!r.Send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n")) return;
    for (int i = 0; r.stop.Pause(std::chrono::milliseconds(100)); ++i) {
        if (!r.Send("X-Still-Coming: " + std::to_string(i) + "\r\n")) return;
    }
}

void HugeHeader(const Reply& r) {
    r.Send(Head("200 OK", "X-Huge: " + std::string(1u << 20, 'h') + "\r\nContent-Length: 5\r\n") +
           "hello");
}

void BadChunk(const Reply& r) {
    r.Send(Head("200 OK", "Transfer-Encoding: chunked\r\n") +
           "5\r\nhello\r\nzz\r\nworld\r\n0\r\n\r\n");
}

void ShortBody(const Reply& r) {
    r.Send(Head("200 OK", "Content-Length: 2000\r\n") + Html(1000));
}

void LongBody(const Reply& r) {
    r.Send(Head("200 OK", "Content-Length: 1000\r\n") + Html(2000));
}

void Redirect(const Reply& r, const std::string& location) {
    r.Send(Head("302 Found", "Location: " + location + "\r\nContent-Length: 0\r\n"));
}

void RedirectLoop(const Reply& r) {
    Redirect(r, "/redirect-loop");
}

void RedirectFile(const Reply& r) {
    Redirect(r, "file:///etc/passwd");
}

void RedirectGopher(const Reply& r) {
    Redirect(r, "gopher://127.0.0.1:" + std::to_string(r.site.port) + "/1");
}

void GzipBombAnswer(const Reply& r) {
    r.Send(Head("200 OK", "Content-Type: text/html\r\nContent-Encoding: gzip\r\nContent-Length: " +
                              std::to_string(r.site.gzipBomb.size()) + "\r\n") +
           r.site.gzipBomb);
}

void CloseAfterHeaders(const Reply& r) {
    r.Send(Head("200 OK", "Content-Type: text/html\r\nContent-Length: 4096\r\n"));
}

void GarbageStatus(const Reply& r) {
    r.Send("SPAM 99 Eggs and ham\r\nContent-Length: 5\r\n\r\nhello");
}

struct Entry {
    Answer answer;
    Serve serve;
};

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries{
        {{"/headers-forever", "headers that never end"}, HeadersForever},
        {{"/huge-header", "a header line of 1 MB"}, HugeHeader},
        {{"/bad-chunk", "a chunk size that is not a number"}, BadChunk},
        {{"/short-body", "a body shorter than its Content-Length"}, ShortBody},
        {{"/long-body", "a body longer than its Content-Length"}, LongBody},
        {{"/redirect-loop", "a redirect to itself"}, RedirectLoop},
        {{"/redirect-file", "a redirect to file:///etc/passwd"}, RedirectFile},
        {{"/redirect-gopher", "a redirect to gopher://"}, RedirectGopher},
        {{"/gzip-bomb", "1 MB of gzip that inflates to 1 GiB"}, GzipBombAnswer},
        {{"/close-after-headers", "the connection closed right after the headers"},
         CloseAfterHeaders},
        {{"/garbage-status", "a status line that is not HTTP"}, GarbageStatus},
        {{"/self-signed", "TLS with a self-signed certificate", true}, nullptr},
        {{"/expired", "TLS with an expired certificate", true}, nullptr},
    };
    return entries;
}

// A results page whose links are `hrefs`, with `padding` bytes of comment at its end.
std::string ResultsPage(const std::vector<std::string>& hrefs, std::size_t padding) {
    serpdouble::ResultsPage page;
    page.keyword = "hostile";
    page.perPage = 100;
    page.total = static_cast<int>(hrefs.size());
    page.hrefs = hrefs;
    std::string html = serpdouble::RenderResultsPage(page);
    if (padding > 0) html += "<!--" + std::string(padding, '-') + "-->";
    return html;
}

void SearchPage(const Reply& r) {
    std::vector<std::string> hrefs;
    for (const auto& answer : AllAnswers()) hrefs.push_back(r.site.URL(answer));
    SendPage(r, ResultsPage(hrefs, 0));
}

void HugeSearchPage(const Reply& r) {
    SendPage(r, r.site.HugePage());
}

void Ok(const Reply& r) {
    SendPage(r, Html(512));
}

void NotFound(const Reply& r) {
    r.Send(Head("404 Not Found", "Content-Length: 0\r\n"));
}

Serve Route(const std::string& path) {
    if (path == "/google/search") return SearchPage;
    if (path == "/huge/search") return HugeSearchPage;
    if (path.starts_with("/ok/")) return Ok;
    for (const auto& entry : Entries()) {
        if (entry.answer.path == path && entry.serve) return entry.serve;
    }
    return NotFound;
}

}  // namespace

std::string Site::URL(const Answer& answer) const {
    if (!answer.tls) return "http://127.0.0.1:" + std::to_string(port) + answer.path;
    const auto tlsPort = answer.path == "/expired" ? expiredPort : selfSignedPort;
    return "https://127.0.0.1:" + std::to_string(tlsPort) + answer.path;
}

const std::string& Site::HugePage() const {
    std::call_once(hugeMade_, [this] {
        const std::string base = "http://127.0.0.1:" + std::to_string(port);
        const std::vector<std::string> hrefs{base + "/ok/1", base + "/ok/2"};
        const std::size_t comment = 7;  // "<!--" and "-->"
        huge_ = ResultsPage(hrefs,
                            HostileServer::kHugePageBytes - comment - ResultsPage(hrefs, 0).size());
    });
    return huge_;
}

const std::vector<Answer>& AllAnswers() {
    static const std::vector<Answer> answers = [] {
        std::vector<Answer> out;
        for (const auto& entry : Entries()) out.push_back(entry.answer);
        return out;
    }();
    return answers;
}

void AnswerPlain(int fd, const Site& site, const StopSignal& stop) {
    const auto target = ReadRequestTarget(fd, stop);
    if (!target) return;
    // A harvest job appends its paging keys to the address as it is, "?" or not.
    Route(target->substr(0, target->find_first_of("?&")))(Reply{fd, site, stop});
}

}  // namespace hostile
