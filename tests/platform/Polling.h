#pragma once

#include <gtest/gtest.h>

#include "platform/HttpRequest.h"

namespace kestest {

// Polls readyState() as the download worker does (1 ms apart) until it reaches at least
// `state`; fails after a generous deadline instead of hanging.
::testing::AssertionResult PollUntil(platform::HttpRequest& request, int state);

// GET url to completion.
::testing::AssertionResult Fetch(platform::HttpRequest& request, const std::string& url);

}  // namespace kestest
