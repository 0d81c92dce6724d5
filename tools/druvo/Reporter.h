// Messages and progress of one run of the command-line program.
//
// Errors and warnings go to the error stream as "FILE: message" (warnings
// as "FILE: warning: message"); Reporter counts the errors. When the error
// stream is a terminal and the batch has more than a few files, a progress
// line is kept at the bottom, redrawn at most ten times a second and wiped
// before any message and at the end.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace druvo::cli {

class Reporter {
 public:
  // Batches of more files than this show progress.
  static constexpr int kProgressThreshold = 5;

  explicit Reporter(std::FILE* errors);
  ~Reporter();
  Reporter(const Reporter&) = delete;
  Reporter& operator=(const Reporter&) = delete;

  void Error(const std::string& file, const std::string& message);
  void Warning(const std::string& file, const std::string& message);
  int ErrorCount() const { return errors_; }

  // Starts counting a batch of `total` files; progress shows when the
  // stream is a terminal and the batch is large enough.
  void StartBatch(int total);
  // One more file of the batch is done.
  void FileDone();
  // Wipes the progress line.
  void EndBatch();

 private:
  void WipeProgress();
  void DrawProgress();

  std::FILE* stream_;
  bool terminal_;
  int errors_ = 0;
  int total_ = 0;
  int done_ = 0;
  bool progress_ = false;
  bool progressShown_ = false;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace druvo::cli
