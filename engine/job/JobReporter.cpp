#include "job/JobReporter.h"

#include "boundary/JobMessages.h"

namespace fetchcore {
namespace {
constexpr int kJobElement = 5;
}  // namespace

void JobReporter::PageSkipped(int32_t n, const std::string& url) {
    Send(PageSkippedMsg{n, url});
}

void JobReporter::StartSavingPage(int32_t n, const std::string& url) {
    Send(StartSavingPageMsg{n, url});
}

void JobReporter::SavingPageComplete(const std::string& url, bool isSuccess,
                                     const std::string& errDescription) {
    Send(SavingPageCompleteMsg{url, isSuccess, errDescription});
}

void JobReporter::ResultList(const std::string& list) {
    Send(ResultListMsg{list});
}

void JobReporter::Waiting(int32_t seconds, const std::string& reason) {
    Send(WaitingMsg{seconds, reason});
}

void JobReporter::Warning(const std::string& text) {
    Send(WarningMsg{text});
}

void JobReporter::Complete(bool isSuccess, int32_t errNumber, const std::string& errDescription) {
    if (finished_) return;
    Send(JobCompleteMsg{jobId_, isSuccess, errNumber, errDescription});
    finished_ = true;
}

template <class Message>
void JobReporter::Send(const Message& message) {
    if (finished_ || !messanger_) return;
    // The job's ID rides in the fifth element, which every message leaves free, so that the
    // saver can tell whose event it raises.
    tessel::VariantArray data = message.ToData();
    while (data.Count() < kJobElement) data.Append({});
    data(kJobElement) = jobId_;
    messanger_->Send(Message::kMsg, std::move(data));
}

}  // namespace fetchcore
