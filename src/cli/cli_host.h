// The terminal host of korvane-cli: messages go to standard error, questions
// are answered by --yes/--no, by the user at a terminal, or else by the
// dialog's focused button; progress is drawn on standard error only when it
// is a terminal; Ctrl-C raises Cancel on every live progress object.
#pragma once

#include <optional>
#include <vector>

#include "app/queued_host.h"

namespace korvane::cli {

class CliHost : public QueuedHost {
 public:
  // answer: the fixed answer to every question (--yes/--no), or none.
  CliHost(std::optional<bool> answer, bool quiet);
  ~CliHost() override;

  TModalResult ShowMessageDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                 TMsgDlgBtn focused) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, const TFont& font,
                  std::string& text) override;
  std::unique_ptr<TProgressForm> CreateProgress(bool cancelAll) override;
  std::unique_ptr<TDoubleProgressForm> CreateDoubleProgress() override;
  // Runs posted calls and turns a pending Ctrl-C into a Cancel request.
  void ProcessMessages() override;

  // True once an error message was shown (the command then exits with 1).
  bool ErrorShown() const { return errorShown_; }
  // True once Ctrl-C was pressed.
  static bool Interrupted();

  // Draws one progress line ("caption: label 42%") when progress is shown.
  void DrawProgress(const std::string& line);
  void EndProgress();

 private:
  std::optional<bool> answer_;
  bool showProgress_;
  bool errorShown_ = false;
  bool progressLineOpen_ = false;
  std::vector<std::atomic<int>*> liveTags_;
  friend class CliProgressForm;
  friend class CliDoubleProgressForm;
};

}  // namespace korvane::cli
