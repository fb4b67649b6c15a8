#include "views/stage_text.h"

#include <array>

#include "views/details.h"

namespace views {
namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

// The game's default colour of each tag (no colour table of a mod), from
// its interface colours and its briefing colours for friendly and hostile.
struct TagEntry {
  char16_t letter;
  std::uint32_t color;
};
constexpr std::array<TagEntry, 20> kTags = {{
    {u'w', Rgb(105, 105, 105)},  // white, the texts' own colour
    {u'W', Rgb(255, 255, 255)},  // bright white
    {u'r', Rgb(126, 6, 6)},      // red, a recommendation's own colour
    {u'g', Rgb(0, 120, 0)},      // green
    {u'y', Rgb(255, 255, 122)},  // yellow
    {u'b', Rgb(93, 93, 128)},    // blue
    {u'f', Rgb(50, 100, 50)},    // friendly
    {u'h', Rgb(140, 20, 20)},    // hostile
    {u'n', Rgb(255, 0, 0)},      // neutral
    {u'B', Rgb(185, 185, 255)},  // bright blue
    {u'G', Rgb(50, 190, 50)},    // bright green
    {u'R', Rgb(200, 0, 0)},      // bright red
    {u'Y', Rgb(255, 255, 0)},    // bright yellow
    {u'k', Rgb(0, 0, 0)},        // black
    {u'e', Rgb(65, 65, 65)},     // grey
    {u'E', Rgb(160, 160, 160)},  // silver
    {u'v', Rgb(160, 144, 160)},  // violet grey
    {u'V', Rgb(192, 104, 192)},  // violet
    {u'p', Rgb(185, 150, 150)},  // pink
    {u'P', Rgb(230, 190, 190)},  // light pink
}};

// Span marks nest at most this deep, as in the game.
constexpr std::size_t kMaxSpanDepth = 10;

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }
// What ends a coloured word: a blank, a tab, any other control character.
bool EndsWord(char16_t c) { return c <= u' '; }

// Words the game fills in for the player: not tags, and left as written.
bool IsPlayerWord(TextView rest) { return rest.starts_with(u"$callsign") || rest.starts_with(u"$rank"); }

// A colour tag at the start of `rest`: what it does and how long it is.
struct Tag {
  enum Kind { kNone, kColor, kOwnColor, kEndSpan } kind = kNone;
  char16_t letter = 0;
  bool opensSpan = false;
  std::size_t length = 0;
};

Tag TagAt(TextView rest) {
  if (rest.size() < 2 || rest[0] != u'$' || IsPlayerWord(rest)) return {};
  const char16_t c = rest[1];
  if (c == u'|') return {Tag::kOwnColor, 0, false, 2};
  if (c == u'}') return {Tag::kEndSpan, 0, false, 2};
  if (!IsLetter(c)) return {};
  const bool span = rest.size() > 2 && rest[2] == u'{';
  return {Tag::kColor, c, span, span ? 3u : 2u};
}

}  // namespace

std::optional<std::uint32_t> TagColor(char16_t letter) {
  for (const TagEntry& entry : kTags) {
    if (entry.letter == letter) return entry.color;
  }
  return std::nullopt;
}

Text ReplaceTextWords(TextView text) {
  static constexpr std::pair<TextView, TextView> kWords[] = {
      {u"$semicolon", u";"}, {u"$quote", u"\""}, {u"$slash", u"/"}, {u"$backslash", u"\\"}};
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == u'$') {
      for (const auto& [word, with] : kWords) {
        if (text.substr(i).starts_with(word)) {
          out += with;
          i += word.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

Text WithoutColorTags(TextView text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Tag tag = TagAt(text.substr(i));
    if (tag.kind == Tag::kNone) {
      out += text[i++];
      continue;
    }
    i += tag.length;
    if (i < text.size() && text[i] == u' ') ++i;
  }
  return out;
}

ColoredText ColorTags(TextView text, char16_t own) {
  ColoredText colored;
  colored.text.reserve(text.size());
  const std::uint32_t ownColor = TagColor(own).value_or(kTags[0].color);
  std::vector<std::uint32_t> spans = {ownColor};  // the colour a word falls back to
  std::uint32_t active = ownColor;
  const auto put = [&](char16_t c, std::uint32_t color) {
    if (colored.spans.empty() || colored.spans.back().color != color) {
      colored.spans.push_back({colored.text.size(), 0, color});
    }
    ++colored.spans.back().length;
    colored.text += c;
  };
  for (std::size_t i = 0; i < text.size();) {
    const Tag tag = TagAt(text.substr(i));
    if (tag.kind != Tag::kNone) {
      if (tag.kind == Tag::kEndSpan && spans.size() > 1) spans.pop_back();
      if (tag.kind == Tag::kColor) {
        // A letter the game does not know leaves the colour as it was.
        if (const auto color = TagColor(tag.letter)) active = *color;
        if (tag.opensSpan && spans.size() < kMaxSpanDepth) spans.push_back(active);
      } else {
        active = spans.back();
      }
      i += tag.length;
      while (i < text.size() && EndsWord(text[i]) && !IsLineEnd(text[i])) ++i;
      continue;
    }
    const char16_t c = text[i++];
    if (EndsWord(c)) active = spans.back();
    put(c, active);
  }
  return colored;
}

Text StageCellText(TextView text) {
  Text joined;
  joined.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      joined += u' ';
      ++i;
    } else {
      joined += text[i];
    }
  }
  return WithoutColorTags(ReplaceTextWords(WithoutXstr(joined)));
}

}  // namespace views
