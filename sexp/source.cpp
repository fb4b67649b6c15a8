#include "sexp/source.h"

#include <algorithm>

namespace sexp::detail {
namespace {

constexpr TextView kKey = u"$Formula:";

}  // namespace

Source::Source(Text text) : text_(std::move(text)) {
  std::vector<std::uint32_t> brackets, dollars;
  bool quoted = false;
  for (std::uint32_t i = 0; i < text_.size(); ++i) {
    const char16_t c = text_[i];
    if (c == u'"') quoted = !quoted;
    if ((c == u'(' || c == u')') && !quoted) brackets.push_back(i);
    if (c == u'$') dollars.push_back(i);
  }
  brackets_ = std::move(brackets);
  Index(dollars);
}

Source::Source(Text text, std::vector<std::uint32_t> brackets, const std::vector<std::uint32_t>& dollars)
    : text_(std::move(text)), brackets_(std::move(brackets)) {
  Index(dollars);
}

void Source::Index(const std::vector<std::uint32_t>& dollars) {
  match_.assign(brackets_.size(), kNone);
  std::vector<std::uint32_t> open;  // numbers of the brackets still open
  for (std::uint32_t b = 0; b < brackets_.size(); ++b) {
    if (text_[brackets_[b]] == u'(') {
      open.push_back(b);
    } else if (!open.empty()) {
      match_[open.back()] = b;
      open.pop_back();
    }
  }
  // A key starts with "$", which occurs nowhere else in it, so keys never
  // overlap.
  const TextView view = text_;
  for (const std::uint32_t at : dollars) {
    if (view.substr(at, kKey.size()) == kKey) keys_.push_back(at);
  }
}

std::uint32_t Source::FirstBracket(std::uint32_t pos) const {
  return static_cast<std::uint32_t>(std::lower_bound(brackets_.begin(), brackets_.end(), pos) - brackets_.begin());
}

bool Source::IsBracket(std::uint32_t pos) const {
  const std::uint32_t number = FirstBracket(pos);
  return number < BracketCount() && BracketAt(number) == pos;
}

std::uint32_t Source::FirstKey(std::uint32_t begin, std::uint32_t end) const {
  const auto it = std::lower_bound(keys_.begin(), keys_.end(), begin);
  if (it == keys_.end() || *it + kKey.size() > end) return kNone;
  return *it;
}

const Source& Workspace::Add(Text text) { return Add(std::make_unique<Source>(std::move(text))); }

const Source& Workspace::Add(std::unique_ptr<Source> source) {
  Charge(source->Size());
  owned_.push_back(std::move(source));
  return *owned_.back();
}

Span Prepare(Span text, Workspace& work) {
  if (text.source == nullptr || text.Empty()) return Span{};
  const std::uint32_t key = text.source->FirstKey(text.begin, text.end);
  const auto blank = [&](std::uint32_t from, std::uint32_t to) {
    return mission::TrimBlankView(text.source->Text16().substr(from, to - from)).empty();
  };
  if (key != Source::kNone && blank(text.begin, key)) {
    // The usual case, the key at the start: the blanks around it go anyway.
    text.begin = key + static_cast<std::uint32_t>(kKey.size());
  } else if (key != Source::kNone) {
    // The key leaves a gap in the middle: this level reads a copy without it.
    const TextView whole = text.View();
    const std::size_t at = key - text.begin;
    Text copy;
    copy.reserve(whole.size() - kKey.size());
    copy.append(whole.substr(0, at)).append(whole.substr(at + kKey.size()));
    const Source& source = work.Add(std::move(copy));
    text = Span{&source, 0, source.Size()};
  }
  const Source& s = *text.source;
  while (text.begin < text.end && IsBlank(s.At(text.begin))) ++text.begin;
  while (text.end > text.begin && IsBlank(s.At(text.end - 1))) --text.end;
  // Only brackets of the structure go, never one that belongs to a quoted name.
  if (text.begin < text.end && s.At(text.begin) == u'(' && s.IsBracket(text.begin)) {
    if (text.bracket != Source::kNone) ++text.bracket;  // that bracket was the first
    ++text.begin;
  }
  if (text.begin < text.end && s.At(text.end - 1) == u')' && s.IsBracket(text.end - 1)) --text.end;
  return text;
}

namespace {

// A stretch outside brackets in which an opening bracket met below depth 0
// was left out: the part is the stretch without those brackets.
Span StretchWithoutDropped(Span stretch, Workspace& work) {
  Text copy;
  int depth = 0;
  for (std::uint32_t pos = stretch.begin; pos < stretch.end; ++pos) {
    const char16_t c = stretch.source->At(pos);
    const bool bracket = (c == u'(' || c == u')') && stretch.source->IsBracket(pos);
    if (bracket && c == u'(' && depth < 0) {
      ++depth;
      continue;
    }
    if (bracket && c == u')') --depth;
    copy.push_back(c);
  }
  const Source& source = work.Add(std::move(copy));
  return Span{&source, 0, source.Size()};
}

}  // namespace

void SplitParts(Span text, Workspace& work, std::vector<Span>& parts, std::vector<Text>* texts) {
  parts.clear();
  if (text.source == nullptr) return;
  const Source& s = *text.source;
  const auto emit = [&](Span lead, Span body) {
    const bool lead_matters = !mission::TrimBlankView(lead.View()).empty();
    if (texts != nullptr) texts->push_back(Text(lead.View()).append(body.View()));
    if (!lead_matters) {
      parts.push_back(body);
      return;
    }
    const Source& copy = work.Add(Text(lead.View()).append(body.View()));
    parts.push_back(Span{&copy, 0, copy.Size(), Source::kNone, body.group});
  };
  // Only the brackets are visited: the text between them is looked at only
  // where a stretch is tested for a value.
  std::uint32_t stretch = text.begin;  // start of the text outside brackets
  long long depth = 0;                 // never above 0 here: groups are stepped over
  bool dropped = false;                // an opening bracket was left out of the stretch
  std::uint32_t b = text.bracket != Source::kNone ? text.bracket : s.FirstBracket(text.begin);
  std::uint32_t stretch_bracket = b;  // the first bracket of the stretch
  const auto stretch_part = [&](std::uint32_t end) {
    const Span span{&s, stretch, end, stretch_bracket};
    return dropped ? StretchWithoutDropped(span, work) : span;
  };
  std::uint32_t visited = 0;
  for (; b < s.BracketCount() && s.BracketAt(b) < text.end; ++b) {
    ++visited;
    const std::uint32_t pos = s.BracketAt(b);
    if (s.At(pos) == u')') {
      --depth;
      continue;
    }
    if (depth < 0) {
      ++depth;
      dropped = true;
      continue;
    }
    Span lead{&s, stretch, pos};
    if (mission::IsGiven(lead.View())) {
      emit(Span{}, stretch_part(pos));
      lead = Span{};
    }
    const std::uint32_t close = s.Match(b);
    if (close != Source::kNone && s.BracketAt(close) < text.end) {
      emit(lead, Span{&s, pos + 1, s.BracketAt(close), b + 1, true});
      b = close;
      stretch = s.BracketAt(close) + 1;
      stretch_bracket = close + 1;
      dropped = false;
      continue;
    }
    // Still open at the end of the text: the rest is the last part, if it
    // holds a value.
    const Span body{&s, pos + 1, text.end, b + 1, true};
    const bool given = mission::TrimBlankView(lead.View()).empty()
                           ? mission::IsGiven(body.View())
                           : mission::IsGiven(Text(lead.View()).append(body.View()));
    if (given) emit(lead, body);
    work.Charge(visited);
    return;
  }
  work.Charge(visited + 1);
  const Span rest{&s, stretch, text.end};
  if (mission::IsGiven(rest.View())) emit(Span{}, stretch_part(text.end));
}

Words::Words(TextView text) : text_(mission::TrimBlankView(text)), done_(text_.empty()) {}

void Words::Restart() {
  pos_ = 0;
  quoted_ = false;
  done_ = text_.empty();
  count_ = 0;
}

bool Words::ReadNext() {
  if (done_) return false;
  const std::size_t start = pos_;
  while (pos_ < text_.size()) {
    const char16_t c = text_[pos_];
    if (c == u'"') quoted_ = !quoted_;
    if (c == u' ' && !quoted_) break;
    ++pos_;
  }
  const TextView word = text_.substr(start, pos_ - start);
  ++count_;
  if (count_ <= kKept) first_[count_ - 1] = word;
  latest_[count_ % kKept] = word;
  if (pos_ < text_.size()) {
    ++pos_;  // the space that ends the word
  } else {
    done_ = true;
  }
  read_ += pos_ - start;
  return true;
}

TextView Words::Get(std::size_t n) {
  if (n == 0) return TextView();
  if (n <= count_ && n <= kKept) return first_[n - 1];
  if (n <= count_ && n + kKept > count_) return latest_[n % kKept];
  if (n <= count_) Restart();  // an old word: read again from the start
  while (count_ < n) {
    if (!ReadNext()) return TextView();
  }
  return latest_[n % kKept];
}

}  // namespace sexp::detail
