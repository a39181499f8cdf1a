#pragma once

#include <cstddef>
#include <string>

namespace hostile {

// A gzip stream of about 1 MB that inflates to `mebibytes` MiB of zero bytes.
std::string GzipBomb(std::size_t mebibytes);

}  // namespace hostile
