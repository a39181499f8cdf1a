#pragma once

#include "platform/ResponseBody.h"
#include "tessel/Object.h"

namespace fetchcore {

// A fetched body as it crosses from the download worker to its downloader inside the
// result message: the object is passed along; its bytes are never copied on the way.
class PageBody final : public tessel::Object {
  public:
    explicit PageBody(platform::ResponseBody body) : body_(std::move(body)) {}
    const platform::ResponseBody& Body() const { return body_; }

  private:
    platform::ResponseBody body_;
};

}  // namespace fetchcore
