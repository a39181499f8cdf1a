#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "ResultTable.h"

namespace kestrova::cli {

// Writes the rows in the chosen format, one line per result.
void WriteResults(std::ostream& out, const std::vector<ResultRow>& rows, OutputFormat format);

// A JSON string literal for bytes that are mostly UTF-8: valid sequences pass unchanged, a
// byte that is not part of one is read as Latin-1 so no address is lost or made invalid.
std::string JsonString(const std::string& text);

}  // namespace kestrova::cli
