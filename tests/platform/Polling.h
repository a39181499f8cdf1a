#pragma once

#include <gtest/gtest.h>

#include "platform/HttpRequest.h"

namespace kestest {

// Advances the request as the download worker does, sleeping until it has work, until it
// reaches at least `state`; fails after a generous deadline instead of hanging.
::testing::AssertionResult PollUntil(platform::HttpRequest& request, int state);

// GET url to completion.
::testing::AssertionResult Fetch(platform::HttpRequest& request, const std::string& url);

}  // namespace kestest
