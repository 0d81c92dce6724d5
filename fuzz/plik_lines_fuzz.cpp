// libFuzzer target for the three line readers of Plik.
//
// The first byte gives the buffer size of the character-array readers (0 to
// 19), the second chooses the reader of each call (two bits a call, taken
// in turn: 0 Gets(char*), 1 Gets(AnsiString&), 2 and 3 BinaryGets); the rest
// is written to a file that the readers then read from start to end. Every
// buffer is followed by guard bytes that must stay as they were, and every
// call is checked against a plain rendering of the reading rules on the
// bytes in memory: the result, the bytes returned and the file position
// after the call must all agree, up to and including one call made at the
// end of the file. Any difference aborts.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "druvo/util/PLIK95.h"

namespace {

using druvo::Plik;
constexpr unsigned char kGuard = 0xA5;
constexpr std::size_t kGuardBytes = 16;

struct Outcome {
  int result = 0;
  std::string bytes;
  std::size_t position = 0;
};

Outcome RefGetsBuffer(const std::string& data, std::size_t pos, int size) {
  Outcome out{-1, "", pos};
  if (size < 1) return out;
  for (;;) {
    if (pos == data.size()) {
      out.result = out.bytes.empty() ? -1 : 0;
      break;
    }
    const char c = data[pos++];
    if (c == '\n' || static_cast<int>(out.bytes.size()) == size - 1) {
      out.result = 0;
      break;
    }
    if (c != '\r') out.bytes += c;
  }
  out.position = pos;
  return out;
}

Outcome RefGetsText(const std::string& data, std::size_t pos) {
  Outcome out{0, "", pos};
  for (;;) {
    if (pos == data.size()) {
      out.result = out.bytes.empty() ? -1 : 0;
      break;
    }
    const char c = data[pos++];
    if (c == '\n') break;
    if (c != '\r') out.bytes += c;
    if (out.bytes.size() > 16384) break;
  }
  out.position = pos;
  return out;
}

Outcome RefBinaryGets(const std::string& data, std::size_t pos, int size) {
  Outcome out{0, "", pos};
  const auto full = [&] { return static_cast<int>(out.bytes.size()) >= size; };
  while (pos < data.size()) {
    const char c = data[pos++];
    if (c != '\r') {
      if (full()) break;
      out.bytes += c;
      continue;
    }
    if (pos == data.size()) {
      if (!full()) out.bytes += '\r';
      break;
    }
    const char next = data[pos++];
    if (next == '\n') break;
    if (full()) break;
    out.bytes += '\r';
    if (full()) break;
    out.bytes += next;
  }
  out.position = pos;
  return out;
}

[[noreturn]] void Fail(const char* what, int call) {
  std::fprintf(stderr, "plik_lines_fuzz: %s differs at call %d\n", what, call);
  std::abort();
}

void CheckGuards(const std::vector<unsigned char>& buffer, int size, int call) {
  for (std::size_t i = static_cast<std::size_t>(size < 0 ? 0 : size);
       i < buffer.size(); ++i) {
    if (buffer[i] != kGuard) Fail("guard byte", call);
  }
}

std::string TemporaryFile() {
  const char* dir = std::getenv("TMPDIR");
  std::string name =
      std::string(dir != nullptr ? dir : "/tmp") + "/plik_lines_fuzz.XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) std::abort();
  ::close(fd);
  return name;
}

struct ScratchFile {
  std::string name = TemporaryFile();
  ~ScratchFile() { ::unlink(name.c_str()); }
};

// Bytes as they are: a binary stream, also where files have a text mode.
void WriteFile(const std::string& name, const std::string& data) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  if (!out.write(data.data(), static_cast<std::streamsize>(data.size())) ||
      !out.flush()) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static const ScratchFile scratch;
  if (size < 2) return 0;
  const int bufferSize = data[0] % 20;
  const unsigned readers = data[1];
  const std::string content(reinterpret_cast<const char*>(data) + 2, size - 2);
  WriteFile(scratch.name, content);
  Plik file;
  if (file.Open(scratch.name, 3, 0x80000000u) != 0) std::abort();

  std::size_t position = 0;
  const int calls = 2 * static_cast<int>(content.size()) + 4;
  for (int call = 0; call < calls; ++call) {
    std::vector<unsigned char> buffer(
        static_cast<std::size_t>(bufferSize) + kGuardBytes, kGuard);
    Outcome ours;
    Outcome reference;
    switch ((readers >> (2 * (call % 4))) & 3) {
      case 0: {
        auto* text = reinterpret_cast<char*>(buffer.data());
        ours.result = file.Gets(text, bufferSize);
        if (bufferSize > 0) {
          const void* end = std::memchr(text, 0, bufferSize);
          if (end == nullptr) Fail("terminator", call);
          ours.bytes.assign(text, static_cast<const char*>(end) - text);
        }
        reference = RefGetsBuffer(content, position, bufferSize);
        // Zero bytes of the file end the text early in the buffer.
        reference.bytes = reference.bytes.c_str();
        CheckGuards(buffer, bufferSize, call);
        break;
      }
      case 1:
        ours.result = file.Gets(ours.bytes);
        reference = RefGetsText(content, position);
        break;
      default: {
        int length = -1;
        ours.result = file.BinaryGets(buffer.data(), bufferSize, length);
        if (length < 0 || length > bufferSize) Fail("length", call);
        ours.bytes.assign(reinterpret_cast<const char*>(buffer.data()),
                          static_cast<std::size_t>(length));
        reference = RefBinaryGets(content, position, bufferSize);
        CheckGuards(buffer, bufferSize, call);
        break;
      }
    }
    ours.position = static_cast<std::size_t>(file.Pos());
    if (ours.result != reference.result) Fail("result", call);
    if (ours.bytes != reference.bytes) Fail("line", call);
    if (ours.position != reference.position) Fail("position", call);
    // One call at the end of the file is checked, then the input is done.
    if (position == content.size()) break;
    position = reference.position;
  }
  return 0;
}
