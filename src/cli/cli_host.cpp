#include "cli_host.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>

namespace korvane::cli {
namespace {

// Set by the SIGINT handler. A signal handler can only reach static storage,
// so this one flag is the process-wide exception to "no globals".
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

std::string StripAccelerator(const std::string& caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  return out;
}

}  // namespace

class CliProgressForm : public TProgressForm {
 public:
  CliProgressForm(CliHost& host, bool cancelAll) : TProgressForm(cancelAll), host_(host) {
    host_.liveTags_.push_back(&Tag);
  }
  ~CliProgressForm() override {
    auto& tags = host_.liveTags_;
    tags.erase(std::remove(tags.begin(), tags.end(), &Tag), tags.end());
    host_.EndProgress();
  }
  void Update() override {
    host_.DrawProgress(Caption + ": " + ProgressLabel + " " + std::to_string(ProgressBar) + "%");
  }

 private:
  CliHost& host_;
};

class CliDoubleProgressForm : public TDoubleProgressForm {
 public:
  explicit CliDoubleProgressForm(CliHost& host) : host_(host) { host_.liveTags_.push_back(&Tag); }
  ~CliDoubleProgressForm() override {
    auto& tags = host_.liveTags_;
    tags.erase(std::remove(tags.begin(), tags.end(), &Tag), tags.end());
    host_.EndProgress();
  }
  void Update() override {
    host_.DrawProgress(ActionLabel + " " + SubProgressLabel + " " + ProgressLabel + " " +
                       std::to_string(ProgressBar) + "% " + SpecialText);
  }

 private:
  CliHost& host_;
};

CliHost::CliHost(std::optional<bool> answer, bool quiet)
    : answer_(answer), showProgress_(!quiet && isatty(STDERR_FILENO)) {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

CliHost::~CliHost() { std::signal(SIGINT, SIG_DFL); }

bool CliHost::Interrupted() { return g_interrupted != 0; }

TModalResult CliHost::ShowMessageDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                        TMsgDlgBtn focused) {
  EndProgress();
  std::string oneLine = text;
  for (char& c : oneLine)
    if (c == '\r') c = ' ';
  const bool question = buttons.Contains(TMsgDlgBtn::mbYes) || buttons.Contains(TMsgDlgBtn::mbCancel);
  if (!question) {
    if (kind == TMsgDlgType::mtError) errorShown_ = true;
    std::cerr << oneLine << std::endl;
    return MessageButtonResult(focused);
  }
  const TMsgDlgBtn positive = buttons.Contains(TMsgDlgBtn::mbYes) ? TMsgDlgBtn::mbYes : TMsgDlgBtn::mbOK;
  const TMsgDlgBtn negative = CancelMessageButton(buttons);
  TMsgDlgBtn chosen = focused;
  if (answer_) {
    chosen = *answer_ ? positive : negative;
  } else if (isatty(STDIN_FILENO)) {
    std::cerr << oneLine << " [" << StripAccelerator(MessageButtonCaption(positive)) << "/"
              << StripAccelerator(MessageButtonCaption(negative)) << "] " << std::flush;
    std::string reply;
    if (std::getline(std::cin, reply) && !reply.empty()) {
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(reply[0])));
      chosen = (c == 'y' || c == 'o') ? positive : negative;
    }
    return MessageButtonResult(chosen);
  }
  std::cerr << oneLine << " -> " << StripAccelerator(MessageButtonCaption(chosen)) << std::endl;
  return MessageButtonResult(chosen);
}

bool CliHost::InputQuery(const std::string& caption, const std::string& prompt, const TFont&,
                         std::string& text) {
  text.clear();
  if (!isatty(STDIN_FILENO)) return false;
  std::cerr << caption << " - " << StripAccelerator(prompt) << " " << std::flush;
  return static_cast<bool>(std::getline(std::cin, text));
}

std::unique_ptr<TProgressForm> CliHost::CreateProgress(bool cancelAll) {
  return std::make_unique<CliProgressForm>(*this, cancelAll);
}

std::unique_ptr<TDoubleProgressForm> CliHost::CreateDoubleProgress() {
  return std::make_unique<CliDoubleProgressForm>(*this);
}

void CliHost::ProcessMessages() {
  RunPosted();
  if (g_interrupted)
    for (std::atomic<int>* tag : liveTags_) *tag = 1;
}

void CliHost::DrawProgress(const std::string& line) {
  if (!showProgress_) return;
  std::string shown = line.substr(0, 78);
  std::fprintf(stderr, "\r%-78s", shown.c_str());
  std::fflush(stderr);
  progressLineOpen_ = true;
}

void CliHost::EndProgress() {
  if (!progressLineOpen_) return;
  std::fprintf(stderr, "\r%-78s\r", "");
  std::fflush(stderr);
  progressLineOpen_ = false;
}

}  // namespace korvane::cli
