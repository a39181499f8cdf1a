#include "CliApp.h"

#include <memory>
#include <optional>
#include <sstream>

#include "CliLog.h"
#include "CliOptions.h"
#include "EngineWarnings.h"
#include "ExitStatus.h"
#include "JobRunner.h"
#include "OutputFile.h"
#include "ResultWriter.h"
#include "StopSignal.h"
#include "TaskFromOptions.h"
#include "fetchcore/CSaver.h"
#include "fetchcore/FileNaming.h"
#include "taskcore/NewTask.h"
#include "taskcore/TaskChecks.h"
#include "tessel/WorkerThread.h"

namespace kestrova::cli {
namespace {

constexpr const char* kProgram = "kestrova-cli: ";

// Where the job saved a page: the engine's own rule, as the window uses to open saved pages.
ResultTable::SavedPath SavedPathRule(std::shared_ptr<fetchcore::CTask> task) {
    return [task](int32_t N, const std::string& url) {
        return fetchcore::SavedPagePath(task->SaveResultsToFolder(), task->KW(), N, url);
    };
}

struct Job {
    CliOptions options;
    TaskValues values;
    std::unique_ptr<OutputFile> output;
    std::shared_ptr<tessel::Log> log;
};

// Everything that can be refused before the job starts. Throws UsageError.
std::optional<Job> Prepare(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err) {
    Job job{ParseArguments(args), {}, nullptr, nullptr};
    if (job.options.help || job.options.version) {
        out << (job.options.help ? UsageText() : VersionText());
        return std::nullopt;
    }
    TaskCheckResult checked = CheckTask(FieldsFrom(job.options));
    if (!checked.task)
        throw RefusedField(checked.falseCause.empty() ? msg::kInvalidParameters
                                                      : checked.falseCause);
    job.values = *checked.task;
    if (job.options.outputFile) job.output = std::make_unique<OutputFile>(*job.options.outputFile);
    job.log = OpenCliLog(job.options.logFile, err);
    return job;
}

int SignalStatus(int signal, int otherwise) {
    return signal ? exit_status::kSignalBase + signal : otherwise;
}

int Deliver(const Job& job, const std::vector<ResultRow>& rows, std::ostream& out,
            std::ostream& err) {
    std::ostringstream text;
    WriteResults(text, rows, job.options.format);
    try {
        if (job.output)
            job.output->Commit(text.str());
        else
            out << text.str() << std::flush;
        if (!out) throw std::runtime_error("cannot write to standard output");
    } catch (const std::runtime_error& e) {
        err << kProgram << e.what() << "\n";
        return exit_status::kFailed;
    }
    return exit_status::kComplete;
}

int RunJob(const Job& job, std::ostream& out, std::ostream& err, int errFd) {
    fetchcore::CSaver saver;
    saver.Init(job.log);
    auto task = NewTask(job.values);
    ResultTable results(SavedPathRule(task));
    std::size_t width = 80;
    Progress progress(err, ProgressModeFor(errFd, job.options.quiet, width), width);
    JobRunner runner(saver, results, progress);

    const EngineWarnings warnings(job.log->FileName());
    StopSignal::Install();
    const JobOutcome outcome =
        runner.Run(task, StopRequest{StopSignal::Received, StopSignal::Descriptor()});
    tessel::WorkerThread::JoinAll();
    progress.Finish();
    if (const auto unresponsive = warnings.Unresponsive())
        err << kProgram << "warning: " << *unresponsive << "\n";
    if (outcome.stopSignal)
        job.log->Write(0, "Cancelled by signal " + std::to_string(outcome.stopSignal),
                       tessel::level::kInfo, "kestrova-cli.RunJob");
    if (!outcome.success) {
        err << kProgram << outcome.description << "\n";
        return SignalStatus(outcome.stopSignal, exit_status::kFailed);
    }
    return SignalStatus(outcome.stopSignal, Deliver(job, results.Rows(), out, err));
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, int errFd) {
    std::optional<Job> job;
    try {
        job = Prepare(args, out, err);
    } catch (const RefusedField& e) {
        err << kProgram << e.what() << "\n";
        return exit_status::kUsage;
    } catch (const UsageError& e) {
        err << kProgram << e.what() << "\nTry 'kestrova-cli --help' for more information.\n";
        return exit_status::kUsage;
    }
    return job ? RunJob(*job, out, err, errFd) : exit_status::kComplete;
}

}  // namespace kestrova::cli
