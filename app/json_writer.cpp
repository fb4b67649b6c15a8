#include "app/json_writer.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace app {

// One serializer for the whole document: building one per string would cost
// more than the escaping itself.
struct JsonWriter::Escaper {
  explicit Escaper(std::string& out)
      : serializer(nlohmann::detail::output_adapter<char>(out), ' ', nlohmann::json::error_handler_t::replace) {}

  void Write(std::string_view utf8) {
    value.get_ref<std::string&>().assign(utf8);
    serializer.dump(value, false, false, 0);
  }

  nlohmann::detail::serializer<nlohmann::json> serializer;
  nlohmann::json value = std::string();
};

namespace {
constexpr std::size_t kFlushAt = 1 << 16;
}

JsonWriter::JsonWriter(std::ostream& out) : out_(out), escaper_(std::make_unique<Escaper>(buffer_)) {}

JsonWriter::~JsonWriter() = default;

void JsonWriter::FlushIfFull() {
  if (buffer_.size() < kFlushAt) return;
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
}

void JsonWriter::NewLine() {
  buffer_.push_back('\n');
  buffer_.append(first_.size() * 2, ' ');
}

void JsonWriter::BeforeValue() {
  FlushIfFull();
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (first_.empty()) return;
  if (!first_.back()) buffer_.push_back(',');
  first_.back() = false;
  NewLine();
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  buffer_.push_back(bracket);
  first_.push_back(true);
}

void JsonWriter::Close(char bracket) {
  const bool empty = first_.back();
  first_.pop_back();
  if (!empty) NewLine();
  buffer_.push_back(bracket);
}

// Most mission texts hold nothing that JSON must escape; those are copied as
// they are (they are valid UTF-8 by construction), the rest go through the
// serializer.
void JsonWriter::Escaped(std::string_view utf8) {
  const bool plain = std::none_of(utf8.begin(), utf8.end(), [](char c) {
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
  });
  if (!plain) {
    escaper_->Write(utf8);
    return;
  }
  buffer_.push_back('"');
  buffer_.append(utf8);
  buffer_.push_back('"');
}

void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  Escaped(key);
  buffer_.append(": ");
  after_key_ = true;
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  Escaped(utf8);
}

void JsonWriter::String(mission::TextView text) {
  utf8_.clear();
  mission::AppendUtf8(text, utf8_);
  String(std::string_view(utf8_));
}

void JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  buffer_.append(std::to_string(value));
}

void JsonWriter::Finish() {
  buffer_.push_back('\n');
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
  out_.flush();
}

}  // namespace app
