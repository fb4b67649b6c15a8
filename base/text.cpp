#include "base/text.h"

#include <charconv>

#include "base/compat.h"

namespace mission {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\0'; }

}  // namespace

void DropRight(Text& text, std::size_t count) {
  if (text.size() > count) {
    text.resize(text.size() - count);
  } else {
    text.clear();
  }
}

TextView TrimBlankView(TextView text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  std::size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

void TrimBlank(Text& text) {
  const TextView trimmed = TrimBlankView(text);
  if (trimmed.size() == text.size()) return;
  const std::size_t first = static_cast<std::size_t>(trimmed.data() - text.data());
  text.erase(first + trimmed.size());
  text.erase(0, first);
}

void SplitCommas(TextView text, CommaFields& fields) {
  for (auto& field : fields) field.clear();
  if (text.empty()) return;
  std::size_t n = 0;
  std::size_t comma;
  while (n < 15 && (comma = text.find(u',')) != TextView::npos) {
    fields[n++] = Text(TrimBlankView(text.substr(0, comma)));
    text.remove_prefix(comma + 1);
  }
  fields[n] = Text(TrimBlankView(text));
}

bool IsGiven(TextView text) {
  const TextView trimmed = TrimBlankView(text);
  return !trimmed.empty() && trimmed != u"n/a";
}

Text LowerAscii(TextView text) {
  Text result(text);
  for (auto& c : result) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return result;
}

bool ReplaceFirst(Text& text, TextView find, TextView replacement) {
  if (find.empty()) return false;
  const std::size_t pos = text.find(find);
  if (pos == Text::npos) return false;
  text.replace(pos, find.size(), replacement);
  return true;
}

double NumericValue(TextView text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  // Copy the longest prefix that can belong to a number; from_chars decides.
  std::string digits;
  const auto is_digit = [&](std::size_t k) { return k < text.size() && text[k] >= u'0' && text[k] <= u'9'; };
  std::size_t k = i;
  if (k < text.size() && (text[k] == u'+' || text[k] == u'-')) ++k;
  const std::size_t mantissa_start = k;
  while (is_digit(k)) ++k;
  if (k < text.size() && text[k] == u'.') {
    ++k;
    while (is_digit(k)) ++k;
  }
  if (k == mantissa_start || (k == mantissa_start + 1 && text[mantissa_start] == u'.')) return 0.0;
  if (k < text.size() && (text[k] == u'e' || text[k] == u'E')) {
    std::size_t e = k + 1;
    if (e < text.size() && (text[e] == u'+' || text[e] == u'-')) ++e;
    if (is_digit(e)) {
      k = e;
      while (is_digit(k)) ++k;
    }
  }
  for (std::size_t j = i; j < k; ++j) digits.push_back(static_cast<char>(text[j]));
  // from_chars does not accept a leading '+'.
  const char* begin = digits.data();
  if (!digits.empty() && digits[0] == '+') ++begin;
  double value = 0.0;
  const auto result = FromChars(begin, digits.data() + digits.size(), value);
  if (result.ec != std::errc()) return 0.0;
  return value;
}

Text Decimal(long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return Text(buffer, result.ptr);
}

}  // namespace mission
