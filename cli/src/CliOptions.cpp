#include "CliOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace kestrova::cli {
namespace {

using ValueSetter = std::function<void(CliOptions&, const std::string&)>;
using FlagSetter = std::function<void(CliOptions&)>;

OutputFormat FormatFromName(const std::string& name) {
    if (name == "list") return OutputFormat::List;
    if (name == "tsv") return OutputFormat::Tsv;
    if (name == "jsonl") return OutputFormat::Jsonl;
    throw UsageError("unknown format '" + name + "' (use list, tsv or jsonl)");
}

// Whole or decimal seconds, at most a day: a longer pause is a typing mistake.
std::chrono::milliseconds PauseFromText(const std::string& text) {
    double seconds = -1;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), seconds, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !(seconds >= 0) ||
        seconds > 86400)
        throw UsageError("invalid pause '" + text + "' (seconds, from 0 to 86400)");
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

const std::map<std::string, ValueSetter>& ValueOptions() {
    static const std::map<std::string, ValueSetter> options{
        {"--url", [](CliOptions& o, const std::string& v) { o.searchUrl = v; }},
        {"--searxng", [](CliOptions& o, const std::string& v) { o.searxng = v; }},
        {"--keywords", [](CliOptions& o, const std::string& v) { o.keywordsFile = v; }},
        {"--pause", [](CliOptions& o, const std::string& v) { o.pause = PauseFromText(v); }},
        {"--from", [](CliOptions& o, const std::string& v) { o.from = v; }},
        {"--to", [](CliOptions& o, const std::string& v) { o.to = v; }},
        {"--per-page", [](CliOptions& o, const std::string& v) { o.perPage = v; }},
        {"--download", [](CliOptions& o, const std::string& v) { o.downloadFolder = v; }},
        {"--format", [](CliOptions& o, const std::string& v) { o.format = FormatFromName(v); }},
        {"--output", [](CliOptions& o, const std::string& v) { o.outputFile = v; }},
        {"--log", [](CliOptions& o, const std::string& v) { o.logFile = v; }},
        {"--warc", [](CliOptions& o, const std::string& v) { o.warcFile = v; }},
    };
    return options;
}

const std::map<std::string, FlagSetter>& FlagOptions() {
    static const std::map<std::string, FlagSetter> flags{
        {"--brave", [](CliOptions& o) { o.brave = true; }},
        {"--skip-non-html", [](CliOptions& o) { o.skipNonHtml = true; }},
        {"--resume", [](CliOptions& o) { o.resume = true; }},
        {"--manifest", [](CliOptions& o) { o.manifest = true; }},
        {"--quiet", [](CliOptions& o) { o.quiet = true; }},
        {"--help", [](CliOptions& o) { o.help = true; }},
        {"--version", [](CliOptions& o) { o.version = true; }},
    };
    return flags;
}

class ArgumentReader {
  public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}

    CliOptions Read() {
        while (next_ < args_.size()) ReadOne(args_[next_++]);
        return Finish();
    }

  private:
    void ReadOne(const std::string& arg) {
        if (onlyPositional_ || arg == "-" || arg.rfind("-", 0) != 0) return Positional(arg);
        if (arg == "--") {
            onlyPositional_ = true;
            return;
        }
        const auto eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (auto flag = FlagOptions().find(name); flag != FlagOptions().end()) {
            if (eq != std::string::npos) throw UsageError("option " + name + " takes no value");
            return flag->second(options_);
        }
        auto option = ValueOptions().find(name);
        if (option == ValueOptions().end()) throw UsageError("unknown option " + name);
        if (eq != std::string::npos) return option->second(options_, arg.substr(eq + 1));
        if (next_ >= args_.size()) throw UsageError("option " + name + " needs a value");
        option->second(options_, args_[next_++]);
    }

    void Positional(const std::string& arg) {
        if (keywordSeen_)
            throw UsageError("more than one KEYWORD; quote a keyword of several words");
        options_.keyword = arg;
        keywordSeen_ = true;
    }

    CliOptions Finish() {
        if (options_.help || options_.version) return options_;
        const int sources = int{keywordSeen_} + int{options_.searchUrl.has_value()} +
                            int{options_.keywordsFile.has_value()};
        if (sources > 1) throw UsageError("give one of KEYWORD, --url and --keywords");
        if (sources == 0) throw UsageError("missing KEYWORD, --url or --keywords");
        if (options_.searchUrl && options_.searxng)
            throw UsageError("give either --url or --searxng, not both");
        if (options_.searxng && !keywordSeen_ && !options_.keywordsFile)
            throw UsageError("--searxng needs a KEYWORD or --keywords");
        if (options_.brave && (options_.searchUrl || options_.searxng))
            throw UsageError("give one of --url, --searxng and --brave");
        if (options_.brave && !keywordSeen_ && !options_.keywordsFile)
            throw UsageError("--brave needs a KEYWORD or --keywords");
        if (options_.manifest && !options_.downloadFolder)
            throw UsageError("--manifest needs --download");
        if (options_.warcFile && options_.warcFile->empty())
            throw UsageError("--warc needs a file name");
        return options_;
    }

    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
    bool onlyPositional_ = false;
    bool keywordSeen_ = false;
    CliOptions options_;
};

}  // namespace

CliOptions ParseArguments(const std::vector<std::string>& args) {
    return ArgumentReader(args).Read();
}

std::string UsageText() {
    return R"(Usage: kestrova-cli [OPTION]... KEYWORD
       kestrova-cli [OPTION]... --url SEARCH_URL
       kestrova-cli [OPTION]... --searxng BASE_URL KEYWORD
       kestrova-cli [OPTION]... --brave KEYWORD
       kestrova-cli [OPTION]... --keywords FILE
Collects the top results of a web search and, on request, downloads every result page.

  --url SEARCH_URL   search from this address; the keyword is read from its "q" key
                     (a SearXNG address: path ending in /search, query with format=json;
                     the Brave Search API: path ending in /res/v1/web/search)
  --searxng BASE_URL search the SearXNG instance at BASE_URL through its JSON API
                     (BASE_URL/search?q=KEYWORD&format=json); without --url and
                     --searxng, the environment variable KESTROVA_SEARXNG gives BASE_URL
  --brave            search the Brave Search API (https://api.search.brave.com), with
                     the key from KESTROVA_BRAVE_KEY, else from the first line of
                     $XDG_CONFIG_HOME/Kestrova/brave.key (~/.config/Kestrova/brave.key),
                     which only its owner may read (chmod 600); at most 20 results a
                     page and 200 a search
  --keywords FILE    one job per keyword of FILE ("-": standard input), in turn, with the
                     same options; one keyword a line in UTF-8, blank lines and lines
                     whose first non-blank is # passed over
  --pause SECONDS    with --keywords, wait this long between two keywords (default 0)
  --from N           first result position, 1 to 999 (default 1)
  --to N             last result position, 1 to 999 (default 10)
  --per-page N       results per results page, 1 to 100 (default 10); a SearXNG
                     instance decides its page size itself, the Brave Search API
                     takes at most 20
  --download DIR     save every result page under DIR, in a folder named after the keyword
  --skip-non-html    with --download, skip links that are not web pages
                     (PDF, Word, Excel, PowerPoint, RTF, PostScript, https)
  --resume           with --download, keep the pages an earlier run saved instead of
                     fetching them again
  --manifest         with --download, write manifest.jsonl in the keyword's folder: one
                     line a result (position, url, state, file, status, final_url,
                     content_type, bytes, sha256, fetched_at, error, title, snippet)
  --warc FILE        record every HTTP exchange of the run (results pages, result pages,
                     redirects) in FILE as WARC/1.1; a name ending in .gz compresses
                     each record; the file is begun anew for every run
  --format FORMAT    list (one URL a line), tsv (N, URL, STATE, DETAIL) or jsonl
                     (keys n, url, state, detail); default list
  --output FILE      write the results to FILE instead of standard output
  --log FILE         log file (default: Kestrova.log in the data folder)
  --quiet            show no progress on standard error
  --help             show this help and exit
  --version          show the version and exit

STATE is Skipped, Complete, Failed or Downloading (started, never finished); DETAIL is the
saved file for Complete and the error for Failed. With --keywords, tsv rows begin with a
KEYWORD column and jsonl objects carry the key keyword; a job that fails is reported on
standard error and the next keyword follows.
A page that is not a results page (one that asks for JavaScript, a consent or a
CAPTCHA, as Google's web search does today) fails the job; see SearXNG and the Brave
Search API above. A results page refused with HTTP 429 or 503 and a wait of at most a
minute is asked for again after it, at most three times.
Exit status: 0 all done, 1 a job failed, 2 bad usage or a refused field or key, 130
interrupted (Ctrl-C cancels the job under way and starts no other).
)";
}

std::string VersionText() {
    return std::string("kestrova-cli ") + KES_VERSION + "\n";
}

}  // namespace kestrova::cli
