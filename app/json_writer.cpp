#include "app/json_writer.h"

#include <nlohmann/json.hpp>

namespace app {

void JsonWriter::NewLine() {
  out_.put('\n');
  for (std::size_t i = 0; i < levels_.size(); ++i) out_.write("  ", 2);
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (levels_.empty()) return;
  if (!levels_.back().first) out_.put(',');
  levels_.back().first = false;
  NewLine();
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  out_.put(bracket);
  levels_.push_back(Level{});
}

void JsonWriter::Close(char bracket) {
  const bool empty = levels_.back().first;
  levels_.pop_back();
  if (!empty) NewLine();
  out_.put(bracket);
}

void JsonWriter::Escaped(std::string_view utf8) {
  out_ << nlohmann::json(utf8).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  Escaped(key);
  out_.write(": ", 2);
  after_key_ = true;
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  Escaped(utf8);
}

void JsonWriter::String(mission::TextView text) { String(std::string_view(mission::ToUtf8(text))); }

void JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  out_ << value;
}

void JsonWriter::Finish() { out_.put('\n'); }

}  // namespace app
