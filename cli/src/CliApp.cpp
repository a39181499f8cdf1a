#include "CliApp.h"

#include <memory>
#include <optional>
#include <sstream>

#include "CliLog.h"
#include "CliOptions.h"
#include "ExitStatus.h"
#include "KeywordRun.h"
#include "OutputFile.h"
#include "ResultDelivery.h"
#include "ResultWriter.h"
#include "StopSignal.h"
#include "TaskFromOptions.h"
#include "TaskRun.h"
#include "fetchcore/BraveAddress.h"
#include "fetchcore/CSaver.h"
#include "taskcore/BraveKey.h"
#include "taskcore/KeywordList.h"
#include "taskcore/TaskChecks.h"

namespace kestrova::cli {
namespace {

struct Job {
    CliOptions options;
    std::vector<KeywordTask> tasks;  // one per keyword of --keywords, else exactly one
    std::unique_ptr<OutputFile> output;
    std::shared_ptr<tessel::Log> log;
};

// The checked task for these options. Throws RefusedField.
TaskValues Checked(const CliOptions& options) {
    TaskCheckResult checked = CheckTask(FieldsFrom(options));
    if (!checked.task)
        throw RefusedField(checked.falseCause.empty() ? msg::kInvalidParameters
                                                      : checked.falseCause);
    checked.task->Resume = options.resume;
    checked.task->Manifest = options.manifest;
    checked.task->WarcFile = options.warcFile.value_or("");
    return *checked.task;
}

// A keyword list that cannot be read is a usage error, as a missing file of any other option.
std::vector<std::string> KeywordsOf(const std::string& file, std::istream& in) {
    try {
        return LoadKeywords(file, in);
    } catch (const KeywordListError& e) {
        throw UsageError(e.what());
    }
}

// Every keyword's task is checked before the first job, so a refused field stops the run
// before any request.
std::vector<KeywordTask> TasksFor(const CliOptions& options, std::istream& in) {
    if (!options.keywordsFile) return {{options.keyword, Checked(options)}};
    std::vector<KeywordTask> tasks;
    for (auto& keyword : KeywordsOf(*options.keywordsFile, in)) {
        CliOptions one = options;
        one.keyword = keyword;
        tasks.push_back({std::move(keyword), Checked(one)});
    }
    return tasks;
}

// Gives the Brave Search API's key to every task that searches it; throws ApiKeyUnavailable
// before any request when there is none to give.
void GiveKeys(std::vector<KeywordTask>& tasks) {
    std::optional<ApiKey> key;
    for (auto& task : tasks) {
        if (!fetchcore::IsBraveAddress(task.values.SearchURL)) continue;
        if (!key) key = LoadBraveKey();
        task.values.SearchApiKey = key->key;
        task.values.SearchApiKeyOrigin = key->origin;
    }
}

// Everything that can be refused before the job starts. Throws UsageError or
// ApiKeyUnavailable.
std::optional<Job> Prepare(const std::vector<std::string>& args, std::istream& in,
                           std::ostream& out, std::ostream& err) {
    Job job{ParseArguments(args), {}, nullptr, nullptr};
    if (job.options.help || job.options.version) {
        out << (job.options.help ? UsageText() : VersionText());
        return std::nullopt;
    }
    job.tasks = TasksFor(job.options, in);
    GiveKeys(job.tasks);
    if (job.options.outputFile) job.output = std::make_unique<OutputFile>(*job.options.outputFile);
    if (job.options.warcFile) BeginWarcFile(*job.options.warcFile);
    job.log = OpenCliLog(job.options.logFile, err);
    return job;
}

// Ctrl-C and the other stop signals, as the job and the pause between keywords watch them.
StopRequest StopOnSignal() {
    return {StopSignal::Received, StopSignal::Descriptor()};
}

int SignalStatus(int signal, int otherwise) {
    return signal ? exit_status::kSignalBase + signal : otherwise;
}

int RunOneJob(const Job& job, std::ostream& out, std::ostream& err, int errFd) {
    fetchcore::CSaver saver;
    saver.Init(job.log);
    std::size_t width = 80;
    Progress progress(err, ProgressModeFor(errFd, job.options.quiet, width), width);
    const TaskResult result =
        RunTask(saver, job.tasks.front().values, progress, StopOnSignal(), *job.log);
    for (const auto& warning : result.outcome.warnings)
        err << kProgramPrefix << "warning: " << warning << "\n";
    if (!result.outcome.success) {
        err << kProgramPrefix << result.outcome.description << "\n";
        return SignalStatus(result.outcome.stopSignal, exit_status::kFailed);
    }
    std::ostringstream text;
    WriteResults(text, result.rows, job.options.format);
    ResultDelivery delivery(job.output.get(), out, err);
    const bool written = delivery.Add(text.str()) && delivery.Commit();
    return SignalStatus(result.outcome.stopSignal,
                        written ? exit_status::kComplete : exit_status::kFailed);
}

int RunKeywordList(const Job& job, std::ostream& out, std::ostream& err, int errFd) {
    fetchcore::CSaver saver;
    saver.Init(job.log);
    KeywordRunSettings settings{job.options.format, job.options.pause, {}, 80};
    settings.progressMode = ProgressModeFor(errFd, job.options.quiet, settings.width);
    ResultDelivery delivery(job.output.get(), out, err);
    KeywordRun run(saver, job.log, settings, err);
    const KeywordRunOutcome outcome = run.Run(
        job.tasks, [&](const std::string& text) { return delivery.Add(text); }, StopOnSignal());
    const bool written = delivery.Commit() && !outcome.outputFailed;
    return SignalStatus(outcome.stopSignal, outcome.failed == 0 && written ? exit_status::kComplete
                                                                           : exit_status::kFailed);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, int errFd) {
    std::optional<Job> job;
    try {
        job = Prepare(args, in, out, err);
    } catch (const RefusedField& e) {
        err << kProgramPrefix << e.what() << "\n";
        return exit_status::kUsage;
    } catch (const ApiKeyUnavailable& e) {
        err << kProgramPrefix << e.what() << "\n";
        return exit_status::kUsage;
    } catch (const UsageError& e) {
        err << kProgramPrefix << e.what() << "\nTry 'kestrova-cli --help' for more information.\n";
        return exit_status::kUsage;
    }
    if (!job) return exit_status::kComplete;
    StopSignal::Install();
    return job->options.keywordsFile ? RunKeywordList(*job, out, err, errFd)
                                     : RunOneJob(*job, out, err, errFd);
}

}  // namespace kestrova::cli
