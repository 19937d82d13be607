// A host for tests: it records every message and notification, answers
// questions from a queue (or with the focused button when the queue is
// empty), and can raise a progress object's Cancel after a given number of
// ProcessMessages calls.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/queued_host.h"

namespace korvane {

class ScriptedHost : public QueuedHost {
 public:
  struct Message {
    std::string text;
    TMsgDlgType kind;
    TMsgDlgButtons buttons;
    TMsgDlgBtn focused;
  };

  ScriptedHost();
  ~ScriptedHost() override;

  TModalResult ShowMessageDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                 TMsgDlgBtn focused) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, const TFont& font,
                  std::string& text) override;
  std::unique_ptr<TProgressForm> CreateProgress(bool cancelAll) override;
  std::unique_ptr<TDoubleProgressForm> CreateDoubleProgress() override;
  void ProcessMessages() override;

  void StatusText(const std::string& text) override { statusTexts.push_back(text); }
  void CorpusInfoChanged() override { ++corpusInfoChanges; }
  void URLBoxAdd(const std::string& url, std::int32_t total) override;
  void URLBoxUpdate(const std::string& url, std::int32_t received) override;
  void URLBoxRemove(const std::string& url) override;
  void CorpusChanged() override { ++corpusChanges; }
  void RecountWords() override { ++recounts; }
  void TagSettingsChanged() override { ++tagSettingsChanges; }
  void BigContextSizeChanged() override { ++bigContextChanges; }
  void ShowText(int index) override { shownTexts.push_back(index); }
  void TextRemoved(int index) override { removedTexts.push_back(index); }

  // The texts of the messages of one kind, in order.
  std::vector<std::string> MessagesOfKind(TMsgDlgType kind) const;

  // --- Script ------------------------------------------------------------
  std::deque<TModalResult> answers;   // answers to questions, in order
  std::deque<std::pair<bool, std::string>> inputAnswers;  // InputQuery results
  // After this many ProcessMessages calls (counted from 1) every live progress
  // object gets cancelTag; -1 never.
  int cancelAfterProcessMessages = -1;
  int cancelTag = 1;

  // --- Record ------------------------------------------------------------
  std::vector<Message> messages;
  std::vector<std::string> statusTexts;
  std::vector<std::string> urlEvents;  // "add URL N", "update URL N", "remove URL"
  std::vector<int> shownTexts;
  std::vector<int> removedTexts;
  int processMessagesCalls = 0;
  int corpusInfoChanges = 0;
  int corpusChanges = 0;
  int recounts = 0;
  int tagSettingsChanges = 0;
  int bigContextChanges = 0;
  int progressFormsCreated = 0;
  // The progress objects alive now (the scripted host cancels these).
  std::vector<TProgressForm*> liveProgress;
  std::vector<TDoubleProgressForm*> liveDoubleProgress;
  // Every caption/label/special text a progress object showed, in order.
  std::vector<std::string> progressLog;
};

}  // namespace korvane
