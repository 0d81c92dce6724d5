#include "tools/druvo/Reporter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tools/druvo/Commands.h"

namespace druvo::cli {
namespace {

// A pseudo-terminal in raw mode: the reporter writes to `terminal`, the test
// reads what it wrote from the other end.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const int slave = open(ptsname(master_), O_RDWR | O_NOCTTY);
    if (slave < 0) return;
    termios mode;
    tcgetattr(slave, &mode);
    cfmakeraw(&mode);
    tcsetattr(slave, TCSANOW, &mode);
    fcntl(master_, F_SETFL, O_NONBLOCK);
    terminal = fdopen(slave, "w");
  }
  ~PseudoTerminal() {
    if (terminal != nullptr) std::fclose(terminal);
    if (master_ >= 0) close(master_);
  }
  // What arrived since the last read. The terminal hands bytes over
  // asynchronously: wait half a second for the first, then until none come.
  std::string Read() {
    std::fflush(terminal);
    std::string text;
    char buffer[256];
    pollfd ready{master_, POLLIN, 0};
    while (poll(&ready, 1, text.empty() ? 500 : 50) > 0) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
  }

  std::FILE* terminal = nullptr;

 private:
  int master_ = -1;
};

// On a terminal a large batch keeps one progress line, drawn at once for the
// first and the last file, and wiped before any message and at the end; a
// small batch shows none.
TEST(Reporter, ProgressLineOnATerminalOnly) {
  PseudoTerminal pty;
  if (pty.terminal == nullptr) GTEST_SKIP() << "no pseudo-terminal";
  const std::string wipe = "\r\033[K";
  {
    Reporter reporter(pty.terminal);
    reporter.StartBatch(Reporter::kProgressThreshold + 1);
    reporter.FileDone();
    EXPECT_EQ(pty.Read(), wipe + "1/6 files (16%)");
    reporter.Error("b.xml", "bad");
    EXPECT_EQ(pty.Read(), wipe + "b.xml: bad\n");
    // Files done within a tenth of a second of the last drawing may go
    // undrawn; the last file is always drawn.
    for (int i = 0; i < 5; ++i) reporter.FileDone();
    const std::string last = wipe + "6/6 files (100%), 1 failed";
    const std::string drawn = pty.Read();
    EXPECT_EQ(drawn.substr(drawn.size() - std::min(drawn.size(), last.size())),
              last);
    reporter.Warning("c.xml", "odd");
    EXPECT_EQ(pty.Read(), wipe + "c.xml: warning: odd\n");
    reporter.Error("d.xml", "bad");  // nothing left to wipe
    EXPECT_EQ(pty.Read(), "d.xml: bad\n");
    reporter.StartBatch(Reporter::kProgressThreshold);
    reporter.FileDone();
    EXPECT_EQ(pty.Read(), "");
    reporter.StartBatch(Reporter::kProgressThreshold + 1);
    reporter.FileDone();
    EXPECT_EQ(pty.Read(), wipe + "1/6 files (16%), 2 failed");
    EXPECT_EQ(reporter.ErrorCount(), 2);
    reporter.EndBatch();  // files done after the end draw nothing
    for (int i = 0; i < 5; ++i) reporter.FileDone();
    EXPECT_EQ(pty.Read(), wipe);
    reporter.StartBatch(Reporter::kProgressThreshold + 1);
    reporter.FileDone();
    pty.Read();
  }
  EXPECT_EQ(pty.Read(), wipe);  // wiped when the reporter goes
}

// A conversion batch counts every file, failed or not, in its progress.
TEST(Reporter, ConversionBatchShowsItsProgress) {
  PseudoTerminal pty;
  if (pty.terminal == nullptr) GTEST_SKIP() << "no pseudo-terminal";
  Options options;
  options.outputDir = "-";
  for (int i = 0; i < 6; ++i) options.paths.push_back("/nonexistent/a.xml");
  Reporter reporter(pty.terminal);
  std::FILE* out = std::fopen("/dev/null", "w");
  EXPECT_EQ(RunKsef2Edi(options, reporter, out), 1);
  std::fclose(out);
  EXPECT_NE(pty.Read().find("6/6 files (100%), 6 failed"), std::string::npos);
}

}  // namespace
}  // namespace druvo::cli
