#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "taskcore/JobProgress.h"

namespace kestrova::cli {

// Writes the rows in the chosen format, one line per result. A `keyword` (a run over a
// keyword list) leads each tsv row as a column of its own and each jsonl object as the key
// "keyword"; a list stays one address a line.
void WriteResults(std::ostream& out, const std::vector<ResultRow>& rows, OutputFormat format,
                  const std::optional<std::string>& keyword = std::nullopt);

// A JSON string literal for bytes that are mostly UTF-8: valid sequences pass unchanged, a
// byte that is not part of one is read as Latin-1 so no address is lost or made invalid.
std::string JsonString(const std::string& text);

}  // namespace kestrova::cli
