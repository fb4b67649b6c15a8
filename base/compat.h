// What the standard library of some of the program's platforms lacks.
//
// libc++ before it implemented the floating-point std::from_chars (the
// WebAssembly build's) has the integer forms only; FromChars reads a double
// there through strtod, with from_chars's rules. Nor has it std::to_chars
// with a precision; ToCharsFixed writes such a double there through
// snprintf.
// Everywhere else they are std::from_chars and std::to_chars themselves.
#pragma once

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <version>

namespace mission {

namespace detail {

constexpr bool IsAsciiLetter(char c, char lower) { return c == lower || c == lower - 'a' + 'A'; }

// std::from_chars for a double in its general format, built on strtod. The
// two differ where strtod is more lenient: it skips leading white space,
// takes a '+' and reads hexadecimal "0x1p3", all of which from_chars refuses
// (of "0x1p3" it reads the "0"). Those cases are settled before strtod
// sees the text. strtod reads the C locale's decimal point: the program
// never changes the locale.
inline std::from_chars_result FromCharsByStrtod(const char* first, const char* last, double& value) {
  const std::from_chars_result invalid{first, std::errc::invalid_argument};
  if (first == last || *first == '+' || *first == ' ' || (*first >= '\t' && *first <= '\r')) return invalid;
  std::string text(first, last);  // strtod needs the terminating NUL
  const std::size_t sign = text[0] == '-' ? 1 : 0;
  if (text.size() >= sign + 2 && text[sign] == '0' && IsAsciiLetter(text[sign + 1], 'x')) text.resize(sign + 1);
  char* end = nullptr;
  const int saved = errno;
  errno = 0;
  const double parsed = std::strtod(text.c_str(), &end);
  const bool out_of_range = errno == ERANGE;
  errno = saved;
  if (end == text.c_str()) return invalid;
  const std::from_chars_result result{first + (end - text.c_str()), std::errc()};
  // Too large, or so small that only zero is left: the value stays as it was.
  if (out_of_range && (parsed == 0.0 || std::isinf(parsed))) {
    return {result.ptr, std::errc::result_out_of_range};
  }
  value = parsed;
  return result;
}

}  // namespace detail

inline std::from_chars_result FromChars(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars) || !defined(_LIBCPP_VERSION)
  return std::from_chars(first, last, value);
#else
  return detail::FromCharsByStrtod(first, last, value);
#endif
}

namespace detail {

// std::to_chars of a double in fixed notation with `precision` digits after
// the point, built on snprintf. Both round the exact binary value; snprintf
// writes the C locale's point: the program never changes the locale.
inline std::to_chars_result ToCharsFixedBySnprintf(char* first, char* last, double value, int precision) {
  // snprintf ends with a NUL, which to_chars does not write.
  const int length = std::snprintf(nullptr, 0, "%.*f", precision, value);
  if (length < 0 || length > last - first) return {last, std::errc::value_too_large};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.*f", precision, value);
  return {std::copy_n(text.data(), length, first), std::errc()};
}

}  // namespace detail

inline std::to_chars_result ToCharsFixed(char* first, char* last, double value, int precision) {
#if defined(__cpp_lib_to_chars) || !defined(_LIBCPP_VERSION)
  return std::to_chars(first, last, value, std::chars_format::fixed, precision);
#else
  return detail::ToCharsFixedBySnprintf(first, last, value, precision);
#endif
}

}  // namespace mission
