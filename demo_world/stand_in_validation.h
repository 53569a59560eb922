// What the API refuses with 400 before it looks for probes: a body its body parser cannot
// read, and a measurement its Joi schemas do not pass.
#pragma once

#include <optional>
#include <string>

#include "demo_world/stand_in_text.h"

namespace httplib {
struct Request;
}

namespace vardelle::demo::stand_in {

struct BrokenRule {
  std::string path;
  std::string message;
};
using Verdict = std::optional<BrokenRule>;

struct Rules {
  int mostTests;  // per measurement and per location
  bool acceptPrivateTargets;
};

Verdict CheckMeasurement(const Json& body, const Rules& rules);
bool IsPing(const Json& body);
std::optional<double> NumberIn(const Json& value);
// A location's probes, 1 unless it says; and the sum over the locations.
double LocationLimit(const Json& location);
double SumOfLocationLimits(const Json& locations);

struct ParsedBody {
  Json json;
  std::string failure;  // the parser's words for a body it could not read
};

ParsedBody ParseBody(const httplib::Request& request);

}  // namespace vardelle::demo::stand_in
