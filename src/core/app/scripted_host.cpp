#include "app/scripted_host.h"

#include <algorithm>

namespace korvane {
namespace {

template <typename Form>
class RecordingForm : public Form {
 public:
  template <typename... Args>
  RecordingForm(std::vector<Form*>& live, std::vector<std::string>& log, Args&&... args)
      : Form(std::forward<Args>(args)...), live_(live), log_(log) {
    live_.push_back(this);
  }
  ~RecordingForm() override { live_.erase(std::remove(live_.begin(), live_.end(), this), live_.end()); }
  void Show() override { log_.push_back("show " + this->Caption); }
  void Update() override {
    log_.push_back("update " + this->ProgressLabel + " | " + std::to_string(this->ProgressBar) +
                   " | " + this->SpecialText);
  }

 private:
  std::vector<Form*>& live_;
  std::vector<std::string>& log_;
};

}  // namespace

ScriptedHost::ScriptedHost() = default;
ScriptedHost::~ScriptedHost() = default;

TModalResult ScriptedHost::ShowMessageDialog(const std::string& text, TMsgDlgType kind,
                                             TMsgDlgButtons buttons, TMsgDlgBtn focused) {
  messages.push_back(Message{text, kind, buttons, focused});
  if (!answers.empty()) {
    const TModalResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return MessageButtonResult(focused);
}

bool ScriptedHost::InputQuery(const std::string&, const std::string&, const TFont&, std::string& text) {
  if (inputAnswers.empty()) {
    text.clear();
    return false;
  }
  auto [ok, answer] = inputAnswers.front();
  inputAnswers.pop_front();
  text = answer;
  return ok;
}

std::unique_ptr<TProgressForm> ScriptedHost::CreateProgress(bool cancelAll) {
  ++progressFormsCreated;
  return std::make_unique<RecordingForm<TProgressForm>>(liveProgress, progressLog, cancelAll);
}

std::unique_ptr<TDoubleProgressForm> ScriptedHost::CreateDoubleProgress() {
  ++progressFormsCreated;
  return std::make_unique<RecordingForm<TDoubleProgressForm>>(liveDoubleProgress, progressLog);
}

void ScriptedHost::ProcessMessages() {
  ++processMessagesCalls;
  RunPosted();
  if (processMessagesCalls == cancelAfterProcessMessages) {
    for (TProgressForm* form : liveProgress) form->Tag = cancelTag;
    for (TDoubleProgressForm* form : liveDoubleProgress) form->Tag = cancelTag;
  }
}

void ScriptedHost::URLBoxAdd(const std::string& url, std::int32_t total) {
  urlEvents.push_back("add " + url + " " + std::to_string(total));
}

void ScriptedHost::URLBoxUpdate(const std::string& url, std::int32_t received) {
  urlEvents.push_back("update " + url + " " + std::to_string(received));
}

void ScriptedHost::URLBoxRemove(const std::string& url) { urlEvents.push_back("remove " + url); }

std::vector<std::string> ScriptedHost::MessagesOfKind(TMsgDlgType kind) const {
  std::vector<std::string> texts;
  for (const Message& m : messages)
    if (m.kind == kind) texts.push_back(m.text);
  return texts;
}

}  // namespace korvane
