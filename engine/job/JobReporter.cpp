#include "job/JobReporter.h"

#include "fetchcore/CSaver.h"

namespace fetchcore {

using tessel::Variant;
using tessel::VariantArray;

void JobReporter::PageSkipped(int32_t n, const std::string& url) {
    Send(msg::kPageSkipped, VariantArray{n, url, Variant(), Variant()});
}

void JobReporter::StartSavingPage(int32_t n, const std::string& url) {
    Send(msg::kStartSavingPage, VariantArray{n, url, Variant(), Variant()});
}

void JobReporter::SavingPageComplete(const std::string& url, bool isSuccess,
                                     const std::string& errDescription) {
    Send(msg::kSavingPageComplete,
         VariantArray{url, isSuccess, errDescription, Variant(), Variant()});
}

void JobReporter::ResultList(const std::string& list) {
    Send(msg::kResultList, VariantArray{list, Variant(), Variant(), Variant()});
}

void JobReporter::Complete(bool isSuccess, int32_t errNumber, const std::string& errDescription) {
    if (finished_) return;
    Send(msg::kJobComplete, VariantArray{jobId_, isSuccess, errNumber,
                                         isSuccess ? Variant() : Variant(errDescription)});
    finished_ = true;
}

void JobReporter::Send(int32_t msg, VariantArray data) {
    if (finished_ || !messanger_) return;
    messanger_->Send(msg, std::move(data));
}

}  // namespace fetchcore
