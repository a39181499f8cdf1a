#include "KeywordRunner.h"

#include "kesapp/AppState.h"

namespace kestrova {

KeywordRunner::KeywordRunner(fetchcore::CSaver& saver, MakeTask makeTask, QObject* parent)
    : QObject(parent), saver_(saver), makeTask_(std::move(makeTask)) {
    setObjectName(QStringLiteral("KeywordRunner"));
    next_.setSingleShot(true);
    connect(&next_, &QTimer::timeout, this, &KeywordRunner::Due);
    events_ = saver_.Connect(*this);
}

void KeywordRunner::Start(std::vector<std::string> keywords, std::chrono::milliseconds pause) {
    if (Running()) return;
    sequence_ = KeywordSequence(std::move(keywords), pause);
    // The first job starts before the caller goes on, so the window has a last job to show.
    if (sequence_.Start() == KeywordSequence::Step::Run)
        RunCurrent();
    else
        Follow(KeywordSequence::Step::Done);
}

void KeywordRunner::Cancel() {
    if (!Running()) return;
    sequence_.Cancel();
    if (next_.isActive()) {
        // Between two jobs: nothing to cancel but the wait.
        next_.stop();
        Follow(sequence_.PauseOver());
        return;
    }
    saver_.CancelAll();
}

void KeywordRunner::Follow(KeywordSequence::Step step) {
    switch (step) {
        case KeywordSequence::Step::Run:
            pausing_ = false;
            next_.start(0);
            break;
        case KeywordSequence::Step::Pause:
            pausing_ = true;
            next_.start(sequence_.PauseLength());
            break;
        case KeywordSequence::Step::Done:
            emit Finished(static_cast<int>(sequence_.Count()), static_cast<int>(sequence_.Failed()),
                          sequence_.Cancelled());
            break;
    }
}

void KeywordRunner::Due() {
    if (pausing_)
        Follow(sequence_.PauseOver());
    else
        RunCurrent();
}

void KeywordRunner::RunCurrent() {
    std::string cause;
    const std::shared_ptr<fetchcore::CTask> task = makeTask_(sequence_.Keyword(), cause);
    // Making the task may wait for the desktop's secret store, and the run may be cancelled
    // (the window closed) meanwhile: then this keyword's job never starts.
    if (sequence_.Cancelled()) return Follow(sequence_.JobEnded(true));
    if (!task) return Failed(cause);
    app::SetLastJob(task->KW(), task->SaveResultsToFolder());
    emit KeywordStarted(QString::fromStdString(sequence_.Label()));
    job_ = saver_.Save(task);
    // Without an ID the saver could not even name the job; it has logged why.
    if (job_.empty()) Failed("The job could not be started.");
}

void KeywordRunner::Complete(bool IsSuccess, const std::string& ErrDescription) {
    if (job_.empty() || saver_.EventJob() != job_) return;
    job_.clear();
    if (!IsSuccess) return Failed(ErrDescription);
    Follow(sequence_.JobEnded(true));
}

void KeywordRunner::Failed(const std::string& description) {
    emit JobFailed(QString::fromStdString(sequence_.Keyword()),
                   QString::fromStdString(description));
    Follow(sequence_.JobEnded(false));
}

}  // namespace kestrova
