#include "testing/loopback.h"

#include <cstdlib>

namespace vardelle::testing {

void KeepLoopbackTrafficDirect() {
#ifdef _WIN32
  ::_putenv_s("no_proxy", "127.0.0.1,127.0.0.2");
#else
  ::setenv("no_proxy", "127.0.0.1,127.0.0.2", 1);
#endif
}

}  // namespace vardelle::testing
