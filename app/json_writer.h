// A streaming JSON writer: the export of a large mission goes straight to the
// output instead of being built as a document in memory first. The document
// is compact (no blanks, one line): a 100 MB mission gives hundreds of MB of
// JSON, and indenting it would cost as much again. Tools format it for reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace app {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out);
  ~JsonWriter();

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // The key of the next member of the current object: plain ASCII letters,
  // written as they are.
  void Key(std::string_view key);
  // A string value given as UTF-8; each broken sequence becomes one U+FFFD,
  // as when a mission file is read.
  void String(std::string_view utf8);
  // A string value; unpaired surrogates become U+FFFD.
  void String(mission::TextView text);
  void Number(std::int64_t value);
  void Bool(bool value);
  // Ends the document with a line break and writes out what is buffered.
  void Finish();

 private:
  void Open(char bracket);
  void Close(char bracket);
  void BeforeValue();
  void Put(char c) { *Reserve(1) = c, ++used_; }
  // Room for `bytes` more bytes in the buffer, writing it out first if needed.
  char* Reserve(std::size_t bytes);
  void Flush();

  std::ostream& out_;
  std::unique_ptr<char[]> buffer_;  // output not yet handed to out_
  std::size_t used_ = 0;
  std::vector<char> first_;  // per open level: no element written yet
  bool after_key_ = false;
  mission::Text decoded_;  // a UTF-8 value as 16-bit text, reused from value to value
};

}  // namespace app
