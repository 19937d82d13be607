// The sentence exceptions editor's working copy, file commands and questions.
#include "search/sentence_exceptions_editor.h"

#include <filesystem>

#include "app/errors.h"
#include "app/host.h"
#include "search/sentence_settings.h"

namespace korvane {

namespace {

std::string FolderOf(const std::string& fileName) {
  return std::filesystem::path(fileName).parent_path().string();
}

}  // namespace

SentenceExceptionsEditor::SentenceExceptionsEditor(SentenceSettings& settings,
                                                   const LanguageState& language, Host& host)
    : settings_(settings), language_(language), host_(host), original_(settings.Exceptions()) {}

const std::vector<std::string>& SentenceExceptionsEditor::Words() const {
  return settings_.Exceptions();
}

bool SentenceExceptionsEditor::Modified() const { return settings_.Exceptions() != original_; }

int SentenceExceptionsEditor::Add(std::string_view typed) {
  return settings_.AddException(typed, language_);
}

void SentenceExceptionsEditor::Remove(const std::vector<std::string>& selected) {
  for (const std::string& word : selected) settings_.RemoveException(word);
}

bool SentenceExceptionsEditor::Clear() {
  if (settings_.Exceptions().empty()) return false;
  if (!host_.AskOKCancel("Remove all words from list?", true)) return false;
  settings_.ClearExceptions();
  return true;
}

bool SentenceExceptionsEditor::Save(const std::string& fileName) {
  try {
    settings_.SaveExceptions(fileName);
  } catch (const Exception& e) {
    fileName_.clear();
    host_.ShowError(e.what());
    return false;
  }
  fileName_ = fileName;
  settings_.SentDelimitersPath = FolderOf(fileName);
  return true;
}

bool SentenceExceptionsEditor::Load(const std::string& fileName) {
  settings_.SentDelimitersPath = FolderOf(fileName);
  try {
    settings_.LoadExceptions(fileName, language_);
  } catch (const Exception& e) {
    host_.ShowError(e.what());
    return false;
  }
  fileName_ = fileName;
  return true;
}

bool SentenceExceptionsEditor::Cancel() {
  if (!Modified()) return true;
  if (!host_.AskOKCancel(
          "Setting are modified.\rAre you sure that you want to exit without saving changes ?",
          true))
    return false;
  settings_.SetExceptions(original_, language_);
  return true;
}

}  // namespace korvane
