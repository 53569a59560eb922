// Table-driven cases that carry a `name`: test names and failure messages show the name
// instead of dumping the case's bytes. Bring both in with using-declarations inside the
// test's namespace so argument-dependent lookup finds PrintTo.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vardelle::named_cases {

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& test) {
  return test.param.name;
}

template <class Case>
requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

}  // namespace vardelle::named_cases
