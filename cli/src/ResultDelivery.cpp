#include "ResultDelivery.h"

#include <stdexcept>

#include "CliOptions.h"

namespace kestrova::cli {

bool ResultDelivery::Add(const std::string& text) {
    delivered_ = true;
    if (output_) {
        gathered_ += text;
        return true;
    }
    out_ << text << std::flush;
    return out_ ? true : Failed("cannot write to standard output");
}

bool ResultDelivery::Commit() {
    if (!output_ || !delivered_) return true;
    try {
        output_->Commit(gathered_);
        return true;
    } catch (const std::runtime_error& e) {
        return Failed(e.what());
    }
}

bool ResultDelivery::Failed(const std::string& why) {
    err_ << kProgramPrefix << why << "\n";
    return false;
}

}  // namespace kestrova::cli
