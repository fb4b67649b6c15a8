#include "mission/decode.h"

namespace mission {

MarkedEncoding EncodingByMark(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return {Encoding::Utf16LE, 2};
  if (bytes.starts_with("\xFE\xFF")) return {Encoding::Utf16BE, 2};
  if (bytes.starts_with("\xEF\xBB\xBF")) return {Encoding::Utf8WithMark, 3};
  return {Encoding::Utf8, 0};
}

char16_t Windows1252Char(unsigned char byte) {
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
  };
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

}  // namespace mission
