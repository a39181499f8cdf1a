#pragma once

#include <string>

namespace fetchcore {

// True when a result link is taken to be a web page: not a secure link and not one of
// the document types (PDF, Word, Excel, PowerPoint, RTF, PostScript), in any letter case.
bool IsHTMLPage(const std::string& url);

}  // namespace fetchcore
