#include "tools/druvo/Reporter.h"

#include "tools/druvo/Console.h"

namespace druvo::cli {

Reporter::Reporter(std::FILE* errors)
    : stream_(errors), terminal_(IsTerminal(errors)) {}

Reporter::~Reporter() { EndBatch(); }

void Reporter::Error(const std::string& file, const std::string& message) {
  WipeProgress();
  std::fprintf(stream_, "%s: %s\n", file.c_str(), message.c_str());
  ++errors_;
}

void Reporter::Warning(const std::string& file, const std::string& message) {
  WipeProgress();
  std::fprintf(stream_, "%s: warning: %s\n", file.c_str(), message.c_str());
}

void Reporter::StartBatch(int total) {
  total_ = total;
  done_ = 0;
  progress_ = terminal_ && total > kProgressThreshold;
  lastDraw_ = {};
}

void Reporter::FileDone() {
  ++done_;
  if (!progress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (done_ < total_ && now - lastDraw_ < std::chrono::milliseconds(100)) {
    return;
  }
  lastDraw_ = now;
  DrawProgress();
}

void Reporter::EndBatch() {
  WipeProgress();
  progress_ = false;
}

void Reporter::WipeProgress() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", stream_);
  progressShown_ = false;
}

void Reporter::DrawProgress() {
  std::fprintf(stream_, "\r\033[K%d/%d files (%d%%)", done_, total_,
               total_ > 0 ? done_ * 100 / total_ : 100);
  if (errors_ > 0) std::fprintf(stream_, ", %d failed", errors_);
  std::fflush(stream_);
  progressShown_ = true;
}

}  // namespace druvo::cli
