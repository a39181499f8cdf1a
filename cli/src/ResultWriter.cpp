#include "ResultWriter.h"

#include "tessel/JsonText.h"

namespace kestrova::cli {
namespace {

// Tabs and line breaks would split a field or a line; nothing a reader needs is in them.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

void WriteTsv(std::ostream& out, const ResultRow& row, const std::optional<std::string>& keyword) {
    if (keyword) out << OneLine(*keyword) << '\t';
    out << (row.n ? std::to_string(*row.n) : std::string()) << '\t' << OneLine(row.url) << '\t'
        << StateName(row.state) << '\t' << OneLine(row.detail) << '\n';
}

void WriteJsonl(std::ostream& out, const ResultRow& row,
                const std::optional<std::string>& keyword) {
    out << '{';
    if (keyword) out << "\"keyword\":" << tessel::JsonString(*keyword) << ',';
    out << "\"n\":" << (row.n ? std::to_string(*row.n) : std::string("null"))
        << ",\"url\":" << tessel::JsonString(row.url)
        << ",\"state\":" << tessel::JsonString(StateName(row.state))
        << ",\"detail\":" << tessel::JsonString(row.detail) << "}\n";
}

}  // namespace

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
