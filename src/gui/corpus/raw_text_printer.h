// QtRawTextPrinter: the printer as a text file for the raw print of a corpus
// text. It takes the text's bytes as they come, breaks lines at carriage
// returns and line feeds (a pair split between two writes counts once),
// expands tabs, starts a page at a form feed or when a page is full, and
// wraps lines wider than the page so that nothing is cut off. The printer's
// fixed-pitch font serves.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

#include "corpus/raw_text_print.h"

class QPrinter;

namespace korvane::gui {

class TextCodec;

class QtRawTextPrinter : public TRawTextPrinter {
 public:
  QtRawTextPrinter(QPrinter& printer, const TextCodec& codec);
  ~QtRawTextPrinter() override;

  void BeginDoc(const std::string& title) override;
  void Write(const char* bytes, std::int32_t length) override;
  void EndDoc() override;
  void Abort() override;

 private:
  void FlushLine();
  void PrintLine(const QString& text);
  void NewPage();

  QPrinter& printer_;
  const TextCodec& codec_;
  QPainter painter_;
  QFont font_;
  QString line_;
  bool pendingCR_ = false;
  int y_ = 0;
  int lineHeight_ = 0;
  int ascent_ = 0;
  int pageWidth_ = 0;
  int pageHeight_ = 0;
};

}  // namespace korvane::gui
