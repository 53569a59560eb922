// A stand-in for the Globalping API on the demo world's server: the subset the program uses,
// answered from canned probe results. POST /v1/measurements checks the body as the API does
// (400 with a validation error, 422 when no probe matches the location), answers 202 with a
// Location header and {id, probesCount}; GET /v1/measurements/{id} answers in-progress with
// partial results until the measurement's polls are used up, then finished (404 for an
// unknown id). The places "China", "Asia" and "World" have probes; one of each place's
// probes fails.
#pragma once

namespace httplib {
class Server;
}

namespace vardelle::demo {

struct StandInBehaviour {
  // Polls answered in-progress before a measurement finishes; negative: never finishes.
  int pollsBeforeFinished = 2;
  // The first creation is refused once with 429 and this reset time (0: never refused).
  int rateLimitResetSeconds = 1;
};

void ServeGlobalpingStandIn(httplib::Server& http, StandInBehaviour behaviour = {});

}  // namespace vardelle::demo
