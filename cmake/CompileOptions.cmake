# Shared compile options: every target links kes_options.
add_library(kes_options INTERFACE)
target_compile_options(kes_options INTERFACE -Wall -Wextra -Wpedantic)

set(_kes_sanitize "${KES_SANITIZE}")
if(_kes_sanitize STREQUAL "address")
  set(_kes_san_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
                     -fno-omit-frame-pointer)
elseif(_kes_sanitize STREQUAL "thread")
  set(_kes_san_flags -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT _kes_sanitize STREQUAL "none" AND NOT _kes_sanitize STREQUAL "OFF")
  message(FATAL_ERROR "KES_SANITIZE must be none, address or thread")
endif()
if(_kes_san_flags)
  target_compile_options(kes_options INTERFACE ${_kes_san_flags})
  target_link_options(kes_options INTERFACE ${_kes_san_flags})
endif()
