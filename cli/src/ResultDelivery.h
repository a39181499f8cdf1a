#pragma once

#include <ostream>
#include <string>

#include "OutputFile.h"

namespace kestrova::cli {

// Where finished jobs' results go. Standard output gets each job's results as the job ends;
// an --output file gets all of them at the end of the run, and only when a job has given
// any, so a run in which every job failed leaves the file as it was.
class ResultDelivery {
  public:
    // `output` may be null (standard output); it must outlive the delivery.
    ResultDelivery(OutputFile* output, std::ostream& out, std::ostream& err)
        : output_(output), out_(out), err_(err) {}

    // False, with the reason on `err`, when the results could not be written.
    bool Add(const std::string& text);
    bool Commit();

  private:
    bool Failed(const std::string& why);

    OutputFile* output_;
    std::ostream& out_;
    std::ostream& err_;
    std::string gathered_;
    bool delivered_ = false;
};

}  // namespace kestrova::cli
