#pragma once

#include <string>

namespace kestest {

// `plain` compressed as one gzip member, as a server sends "Content-Encoding: gzip".
std::string Gzip(const std::string& plain);

}  // namespace kestest
