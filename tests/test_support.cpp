// Shared helpers of the headless tests.
#include "test_support.h"

namespace ks::test {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t p = text.find("\r\n", start);
    if (p == std::string::npos) {
      out.push_back(text.substr(start));
      return out;
    }
    out.push_back(text.substr(start, p - start));
    start = p + 2;
  }
}

}  // namespace ks::test
