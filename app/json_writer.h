// A streaming JSON writer: the export of a large mission goes straight to the
// output instead of being built as a document in memory first. String
// escaping is nlohmann::json's.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

#include "mission/text.h"

namespace app {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // The key of the next member of the current object.
  void Key(std::string_view key);
  void String(std::string_view utf8);
  void String(mission::TextView text);
  void Number(std::int64_t value);
  // Ends the document with a line break.
  void Finish();

 private:
  struct Level {
    bool first = true;
  };
  void Open(char bracket);
  void Close(char bracket);
  void BeforeValue();
  void NewLine();
  void Escaped(std::string_view utf8);

  std::ostream& out_;
  std::vector<Level> levels_;
  bool after_key_ = false;
};

}  // namespace app
