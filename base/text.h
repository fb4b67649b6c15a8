// The text of every layer: the mission's lines, formulas, views, ini values
// and paths are all held as 16-bit characters (UTF-16 code units), with a
// few small routines and the conversions to and from UTF-8 at the edges.
//
// Lengths count 16-bit units. Comparisons are exact and case-sensitive.
// Several routines change their argument in place; callers rely on which
// ones do. The names are in namespace mission, as mission text is what they
// mostly carry; the library depends on nothing but the standard library.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace mission {

using Text = std::u16string;
using TextView = std::u16string_view;

// The 16 trimmed fields that SplitCommas fills; fields[0] is field 1.
using CommaFields = std::array<Text, 16>;

// Removes the last `count` characters; the whole text when it is not longer.
void DropRight(Text& text, std::size_t count);
// Strips spaces and NUL characters at both ends. Tabs are not blanks here.
void TrimBlank(Text& text);
// The same as TrimBlank, without copying.
TextView TrimBlankView(TextView text);
// Splits at commas into at most 16 trimmed fields; the 16th keeps any
// further commas.
void SplitCommas(TextView text, CommaFields& fields);
// False for the empty text, blanks only, and the "no value" marker "n/a".
bool IsGiven(TextView text);
// Lower-cases A-Z only; every other character is copied unchanged.
Text LowerAscii(TextView text);
// Replaces the first occurrence of `find`; false (text unchanged) when there
// is none or `find` is empty.
bool ReplaceFirst(Text& text, TextView find, TextView replacement);

// The value of the number at the start of a text, after leading spaces:
// decimal digits with optional sign, decimal point and exponent. A text that
// does not start with a number has the value 0.
double NumericValue(TextView text);

// Decimal text of an integer.
Text Decimal(long long value);

// Conversions at the edges of the program (file names, terminal, JSON, ini
// files), built on the codec in base/utf8.h. Unpaired surrogates become
// U+FFFD.
std::string ToUtf8(TextView text);
// The same, appended to `out`.
void AppendUtf8(TextView text, std::string& out);
// Each invalid UTF-8 sequence (its longest broken start, see base/utf8.h)
// becomes one U+FFFD.
Text FromUtf8(std::string_view utf8);
// The same, appended to `out`.
void AppendFromUtf8(std::string_view utf8, Text& out);

}  // namespace mission
