#include "JobNotices.h"

#include "kesapp/StatusPanels.h"

namespace kestrova {
namespace {
constexpr int kMessagePanel = 3;
}  // namespace

JobNotices::JobNotices(fetchcore::CSaver& saver, StatusPanels& panels)
    : panels_(panels), events_(saver.Connect(*this)) {}

QString JobNotices::WaitingText(int32_t Seconds, const std::string& Reason) {
    return QStringLiteral("Waiting %1 s: %2").arg(Seconds).arg(QString::fromStdString(Reason));
}

void JobNotices::Waiting(int32_t Seconds, const std::string& Reason) {
    waiting_ = WaitingText(Seconds, Reason);
    panels_.SetText(kMessagePanel, waiting_);
}

void JobNotices::Warning(const std::string& Text) {
    EndWait();
    panels_.SetText(kMessagePanel, QStringLiteral("Warning: ") + QString::fromStdString(Text));
}

void JobNotices::EndWait() {
    if (waiting_.isEmpty()) return;
    if (panels_.Text(kMessagePanel) == waiting_) panels_.SetText(kMessagePanel, {});
    waiting_.clear();
}

}  // namespace kestrova
