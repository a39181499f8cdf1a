#include "platform/ResponseBody.h"

#include <algorithm>
#include <cstring>

#include "tessel/Error.h"
#include "tessel/Toolbox.h"

namespace platform {

ResponseBody ResponseBody::Holding(std::string bytes) {
    ResponseBody body;
    body.bytes_ = std::move(bytes);
    return body;
}

void ResponseBody::DigestSha256() {
    sha256_.emplace(tessel::Digest::Algorithm::Sha256);
}

bool ResponseBody::Append(std::string_view data) {
    if (sha256_) sha256_->Update(data);
    if (file_) {
        const int error = file_->Append(data);
        return error == 0 || Fail(std::strerror(error));
    }
    bytes_.append(data);
    return !spoolFolder_ || bytes_.size() <= kSpoolThreshold || Spool();
}

bool ResponseBody::Spool() {
    if (const auto failure =
            tessel::Trap([&] { file_ = tessel::UnnamedFile::Create(*spoolFolder_); })) {
        return Fail(failure->Description());
    }
    const int error = file_->Append(bytes_);
    std::string().swap(bytes_);
    return error == 0 || Fail(std::strerror(error));
}

bool ResponseBody::Fail(std::string description) {
    failure_ = std::move(description);
    return false;
}

void ResponseBody::Reserve(int64_t bytes) {
    const auto most = static_cast<int64_t>(kSpoolThreshold) + 1;
    if (!file_ && bytes > 0) bytes_.reserve(static_cast<std::size_t>(std::min(bytes, most)));
}

void ResponseBody::Clear() {
    file_.reset();
    std::string().swap(bytes_);
    failure_.clear();
    if (sha256_) DigestSha256();
}

void ResponseBody::SaveAs(const std::string& path) const {
    if (file_) {
        file_->SaveAs(path);
    } else {
        tessel::FileTools::WriteTextFile(path, bytes_);
    }
}

}  // namespace platform
