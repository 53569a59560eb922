// The exchange the request component runs: the runtime's HTTP client, the one the page fetch
// uses too, so that both follow one deadline, one URL reading and one redirect rule.
#pragma once

#include "runtime/http/http_exchange.h"
