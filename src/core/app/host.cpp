#include "app/host.h"

#include <chrono>

namespace korvane {

const char* MessageDialogTitle(TMsgDlgType kind) {
  switch (kind) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirm";
    case TMsgDlgType::mtCustom: return kApplicationTitle;
  }
  return kApplicationTitle;
}

const char* MessageButtonCaption(TMsgDlgBtn button) {
  switch (button) {
    case TMsgDlgBtn::mbYes: return "&Yes";
    case TMsgDlgBtn::mbNo: return "&No";
    case TMsgDlgBtn::mbOK: return "OK";
    case TMsgDlgBtn::mbCancel: return "Cancel";
    case TMsgDlgBtn::mbAbort: return "&Abort";
    case TMsgDlgBtn::mbRetry: return "&Retry";
    case TMsgDlgBtn::mbIgnore: return "&Ignore";
    case TMsgDlgBtn::mbAll: return "&All";
    case TMsgDlgBtn::mbNoToAll: return "&Not to All";
    case TMsgDlgBtn::mbYesToAll: return "&Yes to All";
    case TMsgDlgBtn::mbHelp: return "&Help";
  }
  return "";
}

TModalResult MessageButtonResult(TMsgDlgBtn button) {
  switch (button) {
    case TMsgDlgBtn::mbYes: return TModalResult::mrYes;
    case TMsgDlgBtn::mbNo: return TModalResult::mrNo;
    case TMsgDlgBtn::mbOK: return TModalResult::mrOk;
    case TMsgDlgBtn::mbCancel: return TModalResult::mrCancel;
    case TMsgDlgBtn::mbAbort: return TModalResult::mrAbort;
    case TMsgDlgBtn::mbRetry: return TModalResult::mrRetry;
    case TMsgDlgBtn::mbIgnore: return TModalResult::mrIgnore;
    case TMsgDlgBtn::mbAll: return TModalResult::mrAll;
    case TMsgDlgBtn::mbNoToAll: return TModalResult::mrNoToAll;
    case TMsgDlgBtn::mbYesToAll: return TModalResult::mrYesToAll;
    case TMsgDlgBtn::mbHelp: return TModalResult::mrNone;
  }
  return TModalResult::mrNone;
}

TMsgDlgBtn DefaultMessageButton(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbYes, TMsgDlgBtn::mbRetry})
    if (buttons.Contains(b)) return b;
  return TMsgDlgBtn::mbHelp;
}

TMsgDlgBtn CancelMessageButton(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK})
    if (buttons.Contains(b)) return b;
  return TMsgDlgBtn::mbHelp;
}

void Host::ShowError(const std::string& text) {
  ShowMessageDialog(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK);
}

void Host::ShowWarning(const std::string& text) {
  ShowMessageDialog(text, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK);
}

void Host::ShowInfo(const std::string& text) {
  ShowMessageDialog(text, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK);
}

bool Host::AskYesNo(const std::string& text, bool yesFocused) {
  return ShowMessageDialog(text, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo},
                           yesFocused ? TMsgDlgBtn::mbYes : TMsgDlgBtn::mbNo) == TModalResult::mrYes;
}

bool Host::WarnYesNo(const std::string& text, bool yesFocused) {
  return ShowMessageDialog(text, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo},
                           yesFocused ? TMsgDlgBtn::mbYes : TMsgDlgBtn::mbNo) == TModalResult::mrYes;
}

bool Host::AskOKCancel(const std::string& text, bool okFocused) {
  return ShowMessageDialog(text, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel},
                           okFocused ? TMsgDlgBtn::mbOK : TMsgDlgBtn::mbCancel) == TModalResult::mrOk;
}

std::uint32_t Host::GetTickCount() const {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace korvane
