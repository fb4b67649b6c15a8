#include "sexp/source.h"

#include <algorithm>

namespace sexp::detail {
namespace {

constexpr TextView kKey = u"$Formula:";

}  // namespace

Source::Source(Text text) : text_(std::move(text)) {
  std::vector<std::uint32_t> open;  // ordinals of the brackets still open
  for (std::uint32_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == u'(') {
      open.push_back(static_cast<std::uint32_t>(opens_.size()));
      opens_.push_back(i);
      closes_.push_back(kUnmatched);
    } else if (text_[i] == u')' && !open.empty()) {
      closes_[open.back()] = i;
      open.pop_back();
    }
  }
  // A key starts with "$", which occurs nowhere else in it, so keys never
  // overlap.
  for (std::size_t at = text_.find(kKey); at != Text::npos; at = text_.find(kKey, at + kKey.size())) {
    keys_.push_back(static_cast<std::uint32_t>(at));
  }
}

std::uint32_t Source::Close(std::uint32_t open) const {
  const auto it = std::lower_bound(opens_.begin(), opens_.end(), open);
  return closes_[static_cast<std::size_t>(it - opens_.begin())];
}

std::uint32_t Source::FirstKey(std::uint32_t begin, std::uint32_t end) const {
  const auto it = std::lower_bound(keys_.begin(), keys_.end(), begin);
  if (it == keys_.end() || *it + kKey.size() > end) return kUnmatched;
  return *it;
}

const Source& Workspace::Add(Text text) {
  Charge(text.size());
  owned_.push_back(std::make_unique<Source>(std::move(text)));
  return *owned_.back();
}

Span Prepare(Span text, Workspace& work) {
  if (text.source == nullptr || text.Empty()) return Span{};
  const std::uint32_t key = text.source->FirstKey(text.begin, text.end);
  if (key != Source::kUnmatched) {
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
  if (text.begin < text.end && s.At(text.begin) == u'(') ++text.begin;
  if (text.begin < text.end && s.At(text.end - 1) == u')') --text.end;
  return text;
}

namespace {

// A stretch outside brackets in which an opening bracket met below depth 0
// was left out: the part is the stretch without those brackets.
Span StretchWithoutDropped(Span stretch, Workspace& work) {
  Text copy;
  int depth = 0;
  for (char16_t c : stretch.View()) {
    if (c == u'(' && depth < 0) {
      ++depth;
      continue;
    }
    if (c == u')') --depth;
    copy.push_back(c);
  }
  const Source& source = work.Add(std::move(copy));
  return Span{&source, 0, source.Size()};
}

}  // namespace

void SplitParts(Span text, Workspace& work, std::vector<Part>& parts) {
  parts.clear();
  if (text.source == nullptr) return;
  const Source& s = *text.source;
  std::uint32_t pos = text.begin;
  std::uint32_t stretch = text.begin;  // start of the text outside brackets
  long long depth = 0;                 // never above 0 here: groups are stepped over
  bool dropped = false;                // an opening bracket was left out of the stretch
  const auto stretch_part = [&](std::uint32_t end) {
    const Span span{&s, stretch, end};
    return dropped ? StretchWithoutDropped(span, work) : span;
  };
  while (pos < text.end) {
    const char16_t c = s.At(pos);
    if (c == u'(' && depth < 0) {
      ++depth;
      dropped = true;
      ++pos;
      continue;
    }
    if (c == u'(') {
      Part group;
      const Span before{&s, stretch, pos};
      const TextView before_trimmed = mission::TrimBlankView(before.View());
      if (mission::IsGiven(before_trimmed)) {
        parts.push_back(Part{Span{}, stretch_part(pos), false});
      } else {
        group.lead = before;
        group.leadMatters = !before_trimmed.empty();
      }
      const std::uint32_t close = s.Close(pos);
      if (close != Source::kUnmatched && close < text.end) {
        group.body = Span{&s, pos + 1, close};
        parts.push_back(group);
        work.Charge(pos + 1 - stretch);
        pos = close + 1;
        stretch = pos;
        dropped = false;
        continue;
      }
      // Still open at the end of the text: the rest is the last part.
      group.body = Span{&s, pos + 1, text.end};
      const Span whole = Resolve(group, work);
      if (mission::IsGiven(whole.View())) parts.push_back(group);
      work.Charge(pos + 1 - stretch);
      return;
    }
    if (c == u')') --depth;
    ++pos;
  }
  work.Charge(pos - stretch);
  const Span rest{&s, stretch, pos};
  if (mission::IsGiven(rest.View())) parts.push_back(Part{Span{}, stretch_part(pos), false});
}

Span Resolve(const Part& part, Workspace& work) {
  if (!part.leadMatters) return part.body;
  const Source& source = work.Add(PartText(part));
  return Span{&source, 0, source.Size()};
}

Text PartText(const Part& part) {
  Text text(part.lead.View());
  text.append(part.body.View());
  return text;
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
