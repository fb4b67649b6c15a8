#include "base/compat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace mission {
namespace {

// The strtod road must read exactly what std::from_chars reads: the same
// value, the same end, the same error, and the value untouched on an error.
// Each case is given with what from_chars gives, so the table also holds
// where FromChars is the strtod road itself (WebAssembly).
TEST(CompatTest, FromCharsByStrtodReadsAsFromChars) {
  struct Case {
    const char* text;
    std::size_t used;  // characters read
    std::errc error;
    double value;      // after reading, starting from 42
  };
  const Case cases[] = {
      {"0", 1, std::errc(), 0.0},
      {"12.5", 4, std::errc(), 12.5},
      {"-7", 2, std::errc(), -7.0},
      {".5", 2, std::errc(), 0.5},
      {"5.", 2, std::errc(), 5.0},
      {"1e3", 3, std::errc(), 1000.0},
      {"1E-2x", 4, std::errc(), 0.01},
      {"1e", 1, std::errc(), 1.0},
      {"1e+", 1, std::errc(), 1.0},
      {"2.5e+2 ", 6, std::errc(), 250.0},
      {"0x1p3", 1, std::errc(), 0.0},
      {"-0X10", 2, std::errc(), -0.0},
      {"inf", 3, std::errc(), INFINITY},
      {"-Infinity", 9, std::errc(), -INFINITY},
      {"0.1000000000000000055511151231257827", 36, std::errc(), 0.1},
      {"123456789012345678901234567890", 30, std::errc(), 1.2345678901234568e29},
      {"+1", 0, std::errc::invalid_argument, 42.0},
      {" 1", 0, std::errc::invalid_argument, 42.0},
      {"\t1", 0, std::errc::invalid_argument, 42.0},
      {"", 0, std::errc::invalid_argument, 42.0},
      {".", 0, std::errc::invalid_argument, 42.0},
      {"-", 0, std::errc::invalid_argument, 42.0},
      {"e5", 0, std::errc::invalid_argument, 42.0},
      {"1e400", 5, std::errc::result_out_of_range, 42.0},
      {"-1e400", 6, std::errc::result_out_of_range, 42.0},
      {"1e-400", 6, std::errc::result_out_of_range, 42.0},
  };
  for (const Case& c : cases) {
    const char* end = c.text + std::strlen(c.text);
    for (const bool strtod : {true, false}) {
      double value = 42.0;
      const std::from_chars_result got =
          strtod ? detail::FromCharsByStrtod(c.text, end, value) : FromChars(c.text, end, value);
      SCOPED_TRACE(std::string(c.text) + (strtod ? " through strtod" : " through FromChars"));
      EXPECT_EQ(got.ptr - c.text, static_cast<std::ptrdiff_t>(c.used));
      EXPECT_EQ(got.ec, c.error);
      EXPECT_EQ(value, c.value);
      EXPECT_EQ(std::signbit(value), std::signbit(c.value));
    }
  }
}

// The snprintf road must write what std::to_chars writes in fixed notation:
// the exact binary value rounded (2.675 is a little below), the sign of a
// negative zero, and no text at all when the buffer is too small.
TEST(CompatTest, ToCharsFixedBySnprintfWritesAsToChars) {
  struct Case {
    double value;
    int precision;
    std::size_t room;
    const char* text;  // nullptr: too small
  };
  const Case cases[] = {
      {0.0, 2, 32, "0.00"},
      {-0.0, 2, 32, "-0.00"},
      {12.5, 2, 32, "12.50"},
      {2.675, 2, 32, "2.67"},
      {0.125, 2, 32, "0.12"},
      {-1.255, 1, 32, "-1.3"},
      {1e20, 2, 32, "100000000000000000000.00"},
      {7.0, 0, 32, "7"},
      {123.456, 2, 6, "123.46"},
      {123.456, 2, 5, nullptr},
  };
  for (const Case& c : cases) {
    for (const bool snprintf : {true, false}) {
      char buffer[32];
      const std::to_chars_result got =
          snprintf ? detail::ToCharsFixedBySnprintf(buffer, buffer + c.room, c.value, c.precision)
                   : ToCharsFixed(buffer, buffer + c.room, c.value, c.precision);
      SCOPED_TRACE(std::to_string(c.value) + (snprintf ? " through snprintf" : " through ToCharsFixed"));
      if (c.text == nullptr) {
        EXPECT_EQ(got.ec, std::errc::value_too_large);
      } else {
        ASSERT_EQ(got.ec, std::errc());
        EXPECT_EQ(std::string(buffer, got.ptr), c.text);
      }
    }
  }
}

}  // namespace
}  // namespace mission
