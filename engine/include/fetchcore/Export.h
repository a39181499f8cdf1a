#pragma once

// libfetchcore.so is built with hidden visibility: only what carries this mark, the classes
// and functions of these public headers, is exported to its users.
#define FETCHCORE_EXPORT __attribute__((visibility("default")))
