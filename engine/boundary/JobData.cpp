#include "boundary/JobData.h"

#include "boundary/BagKeys.h"
#include "boundary/BagReader.h"

namespace fetchcore {

using namespace bagkey;

std::shared_ptr<tessel::KeyedCollection> JobData::ToBag() const {
    auto bag = std::make_shared<tessel::KeyedCollection>();
    bag->Add(tessel::Variant(task), kTask);
    bag->Add(tessel::Variant(log), kLog);
    bag->Add(tessel::Variant(messanger), kMessanger);
    bag->Add(tessel::Variant(jobId), kCookie);
    bag->Add(tessel::Variant(semaphoreName), kSemaphoreName);
    bag->Add(tessel::Variant(cancelEventName), kCancelEventName);
    bag->Add(tessel::Variant(std::const_pointer_cast<DownloadService>(downloads)), kDownloads);
    return bag;
}

void JobData::ReadFrom(const tessel::KeyedCollection& bag) {
    BagReader reader(bag);
    reader.Read(kTask, [&](const tessel::Variant& v) { task = v.As<CTask>(); });
    reader.Read(kLog, [&](const tessel::Variant& v) { log = v.As<tessel::Log>(); });
    reader.Read(kMessanger,
                [&](const tessel::Variant& v) { messanger = v.As<tessel::Messanger>(); });
    reader.Read(kCookie, [&](const tessel::Variant& v) { jobId = v.ToString(); });
    reader.Read(kSemaphoreName, [&](const tessel::Variant& v) { semaphoreName = v.ToString(); });
    reader.Read(kCancelEventName,
                [&](const tessel::Variant& v) { cancelEventName = v.ToString(); });
    reader.Read(kDownloads, [&](const tessel::Variant& v) { downloads = v.As<DownloadService>(); });
    reader.ThrowFirstFailure();
}

}  // namespace fetchcore
