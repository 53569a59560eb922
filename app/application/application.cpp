#include "app/application/application.h"

namespace vardelle {

Application& TheApplication() {
  // Never destroyed, like the other process-wide objects: detached threads (loading, test
  // runs) may still use it while the process exits.
  static auto* const application = new Application;
  return *application;
}

}  // namespace vardelle
