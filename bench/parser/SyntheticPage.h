#pragma once

#include <string>

// A results page of the 2010 layout with `results` entries shaped like real ones (title
// link, bold snippet, cached-copy link), about 1 KB each, and the navigation bar.
std::string SyntheticResultsPage(int results);
