// The process's peak memory, for benchmark programs that measure one whole
// run of the program's work: reset the peak once the input exists, run, then
// read it. Linux only (/proc/self).
#pragma once

#include <fstream>
#include <streambuf>
#include <string>

namespace bench {

// A field of /proc/self/status in bytes ("VmHWM:", "VmRSS:").
inline double StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == field) {
      double kb = 0;
      status >> kb;
      return kb * 1024;
    }
    status.ignore(1 << 20, '\n');
  }
  return 0;
}

// Lowers the recorded peak to what the process holds now (Linux 4.0 on).
inline bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear.flush());
}

// An output that throws everything away, as fast as it can.
class DiscardingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace bench
