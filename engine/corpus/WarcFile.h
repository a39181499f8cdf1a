#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "corpus/WarcRecord.h"
#include "tessel/FileDescriptor.h"

namespace fetchcore {

class WarcOutput;

// A WARC file that records are appended to. Each call appends its records whole, one after
// the other, under a lock that every writer of the file takes, in this process or another;
// a failure cuts the file back to where the call began. A name ending in ".gz" gets every
// record as a gzip member of its own, as readers expect.
class WarcFile {
  public:
    // Opens `path` for appending, creating it when missing. Throws ComError(err::kFileError)
    // with the system's description.
    explicit WarcFile(std::string path);
    ~WarcFile();
    WarcFile(const WarcFile&) = delete;
    WarcFile& operator=(const WarcFile&) = delete;

    const std::string& Path() const { return path_; }
    // Throws ComError(err::kFileError) with the system's description.
    void Append(const std::vector<WarcRecord>& records);

  private:
    int Write(const std::vector<WarcRecord>& records);

    std::string path_;
    bool gzip_;
    tessel::FileDescriptor file_;
    std::unique_ptr<WarcOutput> output_;
    std::mutex mutex_;
};

}  // namespace fetchcore
