// A stand-in for the Globalping API on a loopback server: the subset the program uses,
// answered from canned probe results, with the real service's rules and texts.
//
// - POST /v1/measurements validates the body as the API does (400 "Parameter validation
//   failed." with the first broken rule in "params"), refuses up front with 429 when the
//   requested limit exceeds what is left of the caller's hourly budget, answers 422 "No
//   matching IPv4 probes available." for a place without probes, and otherwise charges the
//   probes it found and answers 202 with a Location header and {id, probesCount}. The 202
//   and the 429 carry X-RateLimit-Limit/-Consumed/-Remaining/-Reset and X-Request-Cost.
// - GET /v1/measurements/{id} answers in-progress with partial results until the
//   measurement's polls are used up, then finished; a JSON 404 for an unknown id, and 429
//   with Retry-After past 5 polls of one measurement in 2 seconds.
// - GET /v1/limits answers the caller's budget; it costs nothing.
// - An Authorization header other than "Bearer <accepted token>" is answered 401.
// The places "China", "Asia" and "World" have probes; in each, one probe fails and the last
// loses every packet. Answers are compressed (br or gzip) when the client accepts it.
#pragma once

#include <string>

namespace httplib {
class Server;
}

namespace vardelle::demo {

struct StandInBehaviour {
  // Polls answered in-progress before a measurement finishes; negative: never finishes.
  int pollsBeforeFinished = 2;
  // Tests per hour for an anonymous caller and for one with the accepted token; the hour
  // starts at the first charge, as the real rate limiter's window does.
  int anonymousHourlyTests = 250;
  int tokenHourlyTests = 500;
  // The token answered as valid; "" accepts none, so every token gets 401.
  std::string acceptedToken{};
  // The first poll of every measurement is answered 502, as a proxy in front of the service
  // sometimes does.
  bool badGatewayOnFirstPoll = false;
  // Measures loopback and private targets. The demo world sets it, since its servers are
  // loopback addresses; the real service refuses them.
  bool acceptPrivateTargets = false;
};

void ServeGlobalpingStandIn(httplib::Server& http, StandInBehaviour behaviour = {});

}  // namespace vardelle::demo
