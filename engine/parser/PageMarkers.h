#pragma once

#include <string_view>

// Fixed strings of the search engine's results-page layout that the parser cuts at.
namespace fetchcore::parser::markers {

inline constexpr std::string_view kPageStart = "<span class=tbpc>Show options...</span>";
inline constexpr std::string_view kNavigationBar = "<div id=navcnt>";
inline constexpr std::string_view kOmittedNotice =
    "In order to show you the most relevant results, we have omitted some entries very "
    "similar to the";
inline constexpr std::string_view kResultsHeading = "<h2 class=hd>Search Results</h2>";
inline constexpr std::string_view kListStart = "<div";
inline constexpr std::string_view kSectionEnd = "<script>";
inline constexpr std::string_view kEntryStart = "<h3";
inline constexpr std::string_view kLinkAttribute = "href=";

// Links to the engine's own cached copies and news service are not results.
inline constexpr std::string_view kCachePrefix = "http://74.125.153.132/";
inline constexpr std::string_view kNewsPrefix = "http://news.google.com/";

}  // namespace fetchcore::parser::markers
