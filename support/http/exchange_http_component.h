// The request component that HttpRequest drives, standing in for the platform's scriptable
// request object: the same members, call order rules, defaults and empty answers on failure.
// Each Send hands one HttpExchange to the platform's engine (RunHttpExchange) on a worker
// thread of its own, joined before the next Send and at destruction.
#pragma once

#include <memory>

#include "support/http/http_component.h"

namespace vardelle {

// nullptr when it cannot be created.
std::shared_ptr<HttpComponent> CreateExchangeHttpComponent();

}  // namespace vardelle
