#include "serpdouble/PageContent.h"

namespace serpdouble {

namespace {

std::string TextLine(int i, std::size_t n) {
    return "<p>Result " + std::to_string(i) + ", line " + std::to_string(n) +
           ": the quick brown fox jumps over the lazy dog.</p>\n";
}

// Latin-1 and UTF-8 bytes side by side, so that no code page turns them all into text.
std::string HighLine(int i, std::size_t n) {
    std::string line = "<p>Result " + std::to_string(i) + ", line " + std::to_string(n) +
                       ": caf\xC3\xA9 na\xEFve ";
    line += static_cast<char>(0x80 + n % 128);
    line += " \xFF</p>\n";
    return line;
}

}  // namespace

std::string PageBody(int i, std::size_t size, PageContent content) {
    std::string body = "<html><head><title>Result " + std::to_string(i) + "</title></head><body>\n";
    for (std::size_t n = 0; body.size() < size; ++n) {
        switch (content) {
            case PageContent::Text:
                body += TextLine(i, n);
                break;
            case PageContent::HighBytes:
                body += HighLine(i, n);
                break;
            case PageContent::Binary:
                // 7 is prime to 256, so every byte value comes round, NUL included.
                body += static_cast<char>((n * 7 + static_cast<std::size_t>(i)) & 0xFF);
                break;
        }
    }
    body.resize(size);
    return body;
}

std::optional<PageContent> PageContentFromName(const std::string& name) {
    if (name == "text") return PageContent::Text;
    if (name == "high") return PageContent::HighBytes;
    if (name == "binary") return PageContent::Binary;
    return std::nullopt;
}

}  // namespace serpdouble
