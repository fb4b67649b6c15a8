// Text utilities shared by every layer.
//
// Mission text is held as 16-bit characters (UTF-16 code units): lengths and
// positions count those units, positions are 1-based and 0 means "not found".
// Comparisons are exact and case-sensitive. Several routines change their
// argument in place; callers rely on which ones do.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mission {

using Text = std::u16string;
using TextView = std::u16string_view;

// The 16 trimmed fields that SplitCommas fills; fields[0] is field 1.
using CommaFields = std::array<Text, 16>;

// Removes the first `count` characters; the whole text when it is not longer.
void DropLeft(Text& text, std::size_t count);
// Removes the last `count` characters; the whole text when it is not longer.
void DropRight(Text& text, std::size_t count);
// Strips spaces and NUL characters at both ends. Tabs are not blanks here.
void TrimBlank(Text& text);
// The same as TrimBlank, without copying.
TextView TrimBlankView(TextView text);
// Splits at commas into at most 16 trimmed fields; the 16th keeps any
// further commas.
void SplitCommas(TextView text, CommaFields& fields);
// 1-based position of the first `find` in `within`, 0 if absent.
std::size_t FindText(TextView find, TextView within);
// False for the empty text, blanks only, and the "no value" marker "n/a".
bool IsGiven(TextView text);
// Lower-cases A-Z only; every other character is copied unchanged.
Text LowerAscii(TextView text);
// Replaces the first occurrence of `find`; false (text unchanged) when there
// is none or `find` is empty.
bool ReplaceFirst(Text& text, TextView find, TextView replacement);
void Increment(std::int32_t& counter);

// The value of the number at the start of a text, after leading spaces:
// decimal digits with optional sign, decimal point and exponent. A text that
// does not start with a number has the value 0.
double NumericValue(TextView text);

// Decimal text of an integer.
Text Decimal(long long value);

// Conversions at the edges of the program (file names, terminal, JSON).
// Unpaired surrogates become U+FFFD.
std::string ToUtf8(TextView text);
// The same, appended to `out`.
void AppendUtf8(TextView text, std::string& out);
// Invalid UTF-8 sequences become U+FFFD.
Text FromUtf8(std::string_view utf8);

}  // namespace mission
