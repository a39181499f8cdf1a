#include "job/JobReporter.h"

#include "boundary/JobMessages.h"

namespace fetchcore {

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

void JobReporter::Complete(bool isSuccess, int32_t errNumber, const std::string& errDescription) {
    if (finished_) return;
    Send(JobCompleteMsg{jobId_, isSuccess, errNumber, errDescription});
    finished_ = true;
}

template <class Message>
void JobReporter::Send(const Message& message) {
    if (finished_ || !messanger_) return;
    messanger_->Send(Message::kMsg, message.ToData(), jobId_);
}

}  // namespace fetchcore
