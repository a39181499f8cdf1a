#pragma once

#include <QString>

#include "fetchcore/CSaver.h"

namespace kestrova {

class StatusPanels;

// What a job tells the user while it goes on, in the status bar's third panel: that it waits
// because a search source asked it to slow down, and for how long (until the job's next page
// event), and its warnings. The saver has logged both already.
class JobNotices : private fetchcore::CSaverEvents {
  public:
    JobNotices(fetchcore::CSaver& saver, StatusPanels& panels);

    // "Waiting 12 s: <why>".
    static QString WaitingText(int32_t Seconds, const std::string& Reason);

  private:
    void Waiting(int32_t Seconds, const std::string& Reason) override;
    void Warning(const std::string& Text) override;
    void StartSavingPage(int32_t, const std::string&) override { EndWait(); }
    void PageSkipped(int32_t, const std::string&) override { EndWait(); }
    void SavingPageComplete(const std::string&, bool, const std::string&) override { EndWait(); }
    void ResultList(const std::string&) override { EndWait(); }
    void Complete(bool, const std::string&) override { EndWait(); }
    // Clears the panel unless another text (a page's error) has replaced the wait since.
    void EndWait();

    StatusPanels& panels_;
    QString waiting_;  // the text shown while the job waits; empty when it does not
    tessel::EventSource<fetchcore::CSaverEvents>::Connection events_;
};

}  // namespace kestrova
