// Shared set-up of the headless tests: a main window started on the headless runtime.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "platform/headless_runtime.h"

namespace ks::test {

// A started main window (Form_Load has run) on a headless runtime.
struct Started {
  HeadlessRuntime rt;
  std::unique_ptr<Main> m = std::make_unique<Main>(rt);
  Started() { m->Form_Load(); }
};

// The lines of a text split at "\r\n".
std::vector<std::string> lines_of(const std::string& text);

}  // namespace ks::test
