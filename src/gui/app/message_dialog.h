// TMessageDialog: the one dialog through which the program shows its messages
// and asks its questions, with fixed titles per kind, fixed button captions in
// a fixed order, and a layout measured in dialog units of its font (a quarter
// of the average character width across, an eighth of the text height down),
// so that it keeps its proportions with any font.
//
// Enter presses the default button (OK, else Yes, else Retry) unless another
// button has the focus; Escape and the close box press the cancelling button
// (Abort, else Cancel, else No, else OK) and do nothing without one.
#pragma once

#include <QDialog>
#include <QFontMetrics>
#include <QRect>
#include <QSize>

#include <map>
#include <vector>

#include "app/host.h"

class QLabel;
class QPushButton;

namespace korvane::gui {

// Pixels per horizontal and per vertical dialog unit of a font.
struct DialogUnits {
  double X = 0;
  double Y = 0;
};
DialogUnits DialogUnitsOf(const QFontMetrics& metrics);

// Where everything of a message dialog goes, in client coordinates.
struct MessageDialogLayout {
  QSize Client;
  QRect Icon;  // empty without an icon
  QRect Text;
  std::vector<QRect> Buttons;  // left to right
};
// The layout for a text block of the given size (already wrapped), with or
// without the 32 x 32 icon, and buttonCount buttons.
MessageDialogLayout LayoutMessageDialog(DialogUnits units, QSize textBlock, bool hasIcon, int buttonCount);

// The message dialog's font: "MS Sans Serif", 8 points (the desktop's sans
// serif face stands in where that face is missing).
QFont MessageDialogFont();

class TMessageDialog : public QDialog {
  Q_OBJECT

 public:
  // Builds the dialog; text may use "\r\n" or "\r" for line breaks.
  TMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, TMsgDlgBtn focused,
                 QWidget* parent = nullptr);

  // Shows the dialog modally with the normal arrow cursor and returns the
  // chosen button's result (mrNone when closed without a choice). Lets pending
  // messages run while it is shown.
  TModalResult Execute();

  QPushButton* Button(TMsgDlgBtn button) const;
  QLabel* MessageLabel() const { return message_; }
  TModalResult Result() const { return result_; }

 protected:
  void reject() override;

 private:
  void Press(TMsgDlgBtn button);

  QLabel* message_ = nullptr;
  std::map<TMsgDlgBtn, QPushButton*> buttons_;
  TMsgDlgBtn cancelButton_ = TMsgDlgBtn::mbHelp;
  TModalResult result_ = TModalResult::mrNone;
};

}  // namespace korvane::gui
