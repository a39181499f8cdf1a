#pragma once

#include <cstdint>
#include <string>

#include "fetchcore/Export.h"

namespace fetchcore {

// The file name of a saved result page: the number, "-", and the address without its
// scheme, every character a file name must not hold turned into a blank.
FETCHCORE_EXPORT std::string URL2FileName(int32_t PageNumber, const std::string& url);

// Replaces the characters that folder and file names must not contain.
FETCHCORE_EXPORT std::string FileNameEncode(const std::string& FileName);

// The name of the keyword's subfolder of the output folder, where the job saves the pages:
// FileNameEncode of the keyword, except that a name pointing at the output folder itself or
// at its parent ("", ".", "..") becomes "_" and NUL bytes become "_".
FETCHCORE_EXPORT std::string KeywordFolderName(const std::string& kw);

// The folder a job with this output folder and keyword saves its pages in: the output folder
// (a "/" added unless it ends in one), the keyword's subfolder, "/".
FETCHCORE_EXPORT std::string PageFolderPath(const std::string& outputFolder, const std::string& kw);

// The file that a job with this output folder and keyword saves result `N` from `url` to.
// The job writes it, and the window and the command line find it again, by this one rule.
FETCHCORE_EXPORT std::string SavedPagePath(const std::string& outputFolder, const std::string& kw,
                                           int32_t N, const std::string& url);

}  // namespace fetchcore
