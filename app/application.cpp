#include "app/application.h"

namespace vardelle {

Application& TheApplication() {
  static Application application;
  return application;
}

}  // namespace vardelle
