// TIForm: asks for one line of text: a prompt, an edit field in the caller's
// font (starting empty), "Ok" (the default button) and "Cancel".
#pragma once

#include <QDialog>

#include "app/font.h"

class QLabel;
class QLineEdit;

namespace korvane::gui {

class TIForm : public QDialog {
  Q_OBJECT

 public:
  TIForm(const QString& caption, const QString& prompt, const TFont& font, QWidget* parent = nullptr);

  QLabel* PromptLabel = nullptr;
  QLineEdit* EditBox = nullptr;
};

// Shows the form modally; returns whether "Ok" was chosen, and the field's
// text in every case. Lets pending messages run while it is shown.
bool ExecuteInputQuery(const QString& caption, const QString& prompt, const TFont& font, QString& text,
                       QWidget* parent);

}  // namespace korvane::gui
