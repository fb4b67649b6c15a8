// A settings writer for the atomic-write test, which kills it at random
// moments: writes section "Big", key "Value" of FILE in FOLDER, alternately
// SIZE letters "a" and SIZE letters "b", until it is killed. Exits with 1
// when a write fails, which a killed writer must never cause another to do.
#include <cstdio>
#include <cstdlib>

#include "applib/ini.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: ini_writer FOLDER FILE SIZE\n");
    return 2;
  }
  const mission::Text folder = mission::FromUtf8(argv[1]);
  const mission::Text file = mission::FromUtf8(argv[2]);
  const std::size_t size = std::strtoul(argv[3], nullptr, 10);
  const mission::Text values[] = {mission::Text(size, u'a'), mission::Text(size, u'b')};
  for (unsigned long n = 0;; ++n) {
    if (!applib::IniWrite(folder, file, u"Big", u"Value", values[n % 2])) {
      std::fprintf(stderr, "ini_writer: write %lu failed\n", n);
      return 1;
    }
  }
}
