#include "boundary/DownloadParams.h"

#include "boundary/BagKeys.h"
#include "boundary/BagReader.h"

namespace fetchcore {

using namespace bagkey;

std::shared_ptr<tessel::KeyedCollection> DownloadParams::ToBag() const {
    auto bag = std::make_shared<tessel::KeyedCollection>();
    bag->Add(tessel::Variant(url), kURL);
    bag->Add(tessel::Variant(sizeB), kSizeB);
    bag->Add(tessel::Variant(log), kLog);
    bag->Add(tessel::Variant(messanger), kMessanger);
    bag->Add(tessel::Variant(cookie), kCookie);
    bag->Add(tessel::Variant(semaphoreName), kSemaphoreName);
    bag->Add(tessel::Variant(cancelEventName), kCancelEventName);
    // Only when set: a bag without it asks for the transfer's own limit.
    if (limitB > 0) bag->Add(tessel::Variant(static_cast<double>(limitB)), kLimitB);
    if (!spoolFolder.empty()) bag->Add(tessel::Variant(spoolFolder), kSpoolFolder);
    return bag;
}

void DownloadParams::ReadFrom(const tessel::KeyedCollection& bag) {
    BagReader reader(bag);
    reader.Read(kLog, [&](const tessel::Variant& v) { log = v.As<tessel::Log>(); });
    reader.Read(kMessanger,
                [&](const tessel::Variant& v) { messanger = v.As<tessel::Messanger>(); });
    reader.Read(kURL, [&](const tessel::Variant& v) { url = v.ToString(); });
    reader.Read(kSizeB, [&](const tessel::Variant& v) { sizeB = v.ToLong(); });
    reader.Read(kCookie, [&](const tessel::Variant& v) { cookie = v.ToString(); });
    reader.Read(kSemaphoreName, [&](const tessel::Variant& v) { semaphoreName = v.ToString(); });
    reader.Read(kCancelEventName,
                [&](const tessel::Variant& v) { cancelEventName = v.ToString(); });
    if (bag.Exists(kLimitB)) {
        reader.Read(kLimitB,
                    [&](const tessel::Variant& v) { limitB = static_cast<int64_t>(v.ToDouble()); });
    }
    if (bag.Exists(kSpoolFolder)) {
        reader.Read(kSpoolFolder, [&](const tessel::Variant& v) { spoolFolder = v.ToString(); });
    }
    reader.ThrowFirstFailure();
}

}  // namespace fetchcore
