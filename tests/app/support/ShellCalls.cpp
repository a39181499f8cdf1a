#include "ShellCalls.h"

namespace kestrova::test {

ShellCalls::ShellCalls()
    : handler_([this](ShellVerb verb, const std::string& target) {
          calls.emplace_back(verb, target);
      }) {}

}  // namespace kestrova::test
