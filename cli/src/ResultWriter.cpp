#include "ResultWriter.h"

#include <cstdio>

namespace kestrova::cli {
namespace {

// Tabs and line breaks would split a field or a line; nothing a reader needs is in them.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

// Length of the well-formed UTF-8 sequence at text[i], or 0 when there is none.
std::size_t Utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0 || i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

void AppendEscape(std::string& out, unsigned char c) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
    out += code;
}

void AppendAscii(std::string& out, char c) {
    switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                AppendEscape(out, static_cast<unsigned char>(c));
            else
                out += c;
    }
}

void WriteTsv(std::ostream& out, const ResultRow& row, const std::optional<std::string>& keyword) {
    if (keyword) out << OneLine(*keyword) << '\t';
    out << (row.n ? std::to_string(*row.n) : std::string()) << '\t' << OneLine(row.url) << '\t'
        << StateName(row.state) << '\t' << OneLine(row.detail) << '\n';
}

void WriteJsonl(std::ostream& out, const ResultRow& row,
                const std::optional<std::string>& keyword) {
    out << '{';
    if (keyword) out << "\"keyword\":" << JsonString(*keyword) << ',';
    out << "\"n\":" << (row.n ? std::to_string(*row.n) : std::string("null"))
        << ",\"url\":" << JsonString(row.url) << ",\"state\":" << JsonString(StateName(row.state))
        << ",\"detail\":" << JsonString(row.detail) << "}\n";
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            AppendAscii(out, text[i++]);
        } else if (const std::size_t length = Utf8Length(text, i)) {
            out.append(text, i, length);
            i += length;
        } else {
            AppendEscape(out, c);
            ++i;
        }
    }
    return out + "\"";
}

void WriteResults(std::ostream& out, const std::vector<ResultRow>& rows, OutputFormat format,
                  const std::optional<std::string>& keyword) {
    for (const auto& row : rows) {
        switch (format) {
            case OutputFormat::List:
                out << OneLine(row.url) << '\n';
                break;
            case OutputFormat::Tsv:
                WriteTsv(out, row, keyword);
                break;
            case OutputFormat::Jsonl:
                WriteJsonl(out, row, keyword);
                break;
        }
    }
}

}  // namespace kestrova::cli
