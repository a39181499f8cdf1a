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

}  // namespace kestrova::cli
