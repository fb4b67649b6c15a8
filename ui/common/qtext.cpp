#include "ui/common/qtext.h"

#include "base/utf8.h"

namespace ui {

QString ShownText(mission::TextView text) {
  if (static_cast<qsizetype>(text.size()) <= kShownTextMax) return ToQString(text);
  std::size_t cut = static_cast<std::size_t>(kShownTextMax);
  if (mission::IsHighSurrogate(text[cut - 1])) --cut;  // keep surrogate pairs whole
  return ToQString(text.substr(0, cut)) + QStringLiteral("...");
}

}  // namespace ui
