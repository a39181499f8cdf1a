#pragma once

#include <memory>
#include <optional>
#include <string>

#include "corpus/ExchangeRecorder.h"
#include "corpus/WarcFile.h"
#include "tessel/Error.h"

namespace fetchcore {

// What a job's warcinfo record says of it.
struct JobDescription {
    std::string keyword;
    std::string searchURL;
};

// One job's records in its task's WARC file: the job's warcinfo record first, then a
// request and a response record for every exchange of its transfers, each transfer's as it
// ends. Lives on the job's thread.
class JobArchive {
  public:
    // Opens the WARC file (appending) and writes the job's warcinfo record. Throws
    // ComError(err::kFileError) naming the file.
    JobArchive(const std::string& path, const JobDescription& job);

    // A tap for one transfer, spooling beside the WARC file.
    std::shared_ptr<ExchangeRecorder> NewRecorder() const;
    // Writes the records of a transfer that has ended. A failure is kept, not thrown: the
    // job goes on and reports it when it ends.
    void Keep(const ExchangeRecorder& recorder);
    // The first failure to write a record, naming the file.
    const std::optional<tessel::ComError>& Failure() const { return failure_; }

  private:
    void Fail(const std::string& reason);

    WarcFile file_;
    std::string spoolFolder_;
    std::string warcinfoId_;
    std::optional<tessel::ComError> failure_;
};

}  // namespace fetchcore
