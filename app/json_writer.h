// A streaming JSON writer: the export of a large mission goes straight to the
// output instead of being built as a document in memory first. Strings are
// escaped by nlohmann::json's serializer.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "mission/text.h"

namespace app {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out);
  ~JsonWriter();

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // The key of the next member of the current object.
  void Key(std::string_view key);
  void String(std::string_view utf8);
  void String(mission::TextView text);
  void Number(std::int64_t value);
  // Ends the document with a line break and writes out what is buffered.
  void Finish();

 private:
  struct Escaper;
  void Open(char bracket);
  void Close(char bracket);
  void BeforeValue();
  void NewLine();
  void Escaped(std::string_view utf8);
  void FlushIfFull();

  std::ostream& out_;
  std::string buffer_;  // output not yet handed to out_
  std::string utf8_;    // scratch space for converting texts
  std::unique_ptr<Escaper> escaper_;
  std::vector<bool> first_;  // per open level: no element written yet
  bool after_key_ = false;
};

}  // namespace app
