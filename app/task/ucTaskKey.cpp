// The key a task for the Brave Search API sends, taken before any request is made.
#include "taskcore/BraveKeyStore.h"
#include "taskcore/SearchSource.h"
#include "ucTask.h"

namespace kestrova {

bool ucTask::TakeSearchKey(TaskValues& task, std::string& falseCause) {
    if (SourceOfAddress(task.SearchURL) != SearchSource::Brave) return true;
    try {
        const ApiKey key = secrets_ ? BraveKeyStore(*secrets_).ForJob() : LoadBraveKey();
        task.SearchApiKey = key.key;
        task.SearchApiKeyOrigin = key.origin;
        return true;
    } catch (const ApiKeyUnavailable& e) {
        falseCause = e.what();  // names the places to set a key, never a key
        return false;
    }
}

}  // namespace kestrova
