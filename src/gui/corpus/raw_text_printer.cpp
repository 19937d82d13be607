// Printing raw text through Qt's printer.
#include "gui/corpus/raw_text_printer.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPrinter>

#include "app/errors.h"
#include "gui/app/gui_messages.h"
#include "gui/app/qt_convert.h"
#include "gui/app/text_codec.h"

namespace korvane::gui {
namespace {
constexpr int kTabWidth = 8;
constexpr int kPrinterFontPoints = 10;
}  // namespace

QtRawTextPrinter::QtRawTextPrinter(QPrinter& printer, const TextCodec& codec) : printer_(printer), codec_(codec) {}

QtRawTextPrinter::~QtRawTextPrinter() {
  if (painter_.isActive()) painter_.end();
}

void QtRawTextPrinter::BeginDoc(const std::string& title) {
  printer_.setDocName(Q(title));
  if (!painter_.begin(&printer_)) throw Exception(S(PrinterErrorMessage()));
  font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font_.setPointSize(kPrinterFontPoints);
  painter_.setFont(font_);
  const QFontMetrics metrics(font_, &printer_);
  lineHeight_ = metrics.lineSpacing();
  ascent_ = metrics.ascent();
  const QRect page = painter_.viewport();
  pageWidth_ = page.width();
  pageHeight_ = page.height();
  y_ = 0;
}

void QtRawTextPrinter::Write(const char* bytes, std::int32_t length) {
  const QString text = codec_.Decode(std::string_view(bytes, static_cast<std::size_t>(length)));
  for (const QChar c : text) {
    if (pendingCR_) {
      pendingCR_ = false;
      if (c == QLatin1Char('\n')) continue;
    }
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      FlushLine();
      pendingCR_ = c == QLatin1Char('\r');
    } else if (c == QLatin1Char('\f')) {
      FlushLine();
      NewPage();
    } else if (c == QLatin1Char('\t')) {
      line_.append(QString(kTabWidth - line_.size() % kTabWidth, QLatin1Char(' ')));
    } else {
      line_.append(c);
    }
  }
  if (printer_.printerState() == QPrinter::Error) throw Exception(S(PrinterErrorMessage()));
}

void QtRawTextPrinter::FlushLine() {
  // A line wider than the page continues on the next printed line.
  const QFontMetrics metrics(font_, &printer_);
  QString rest = line_;
  line_.clear();
  do {
    int fit = static_cast<int>(rest.size());
    while (fit > 1 && metrics.horizontalAdvance(rest.left(fit)) > pageWidth_) fit = fit * 3 / 4;
    while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= pageWidth_) ++fit;
    PrintLine(rest.left(fit));
    rest = rest.mid(fit);
  } while (!rest.isEmpty());
}

void QtRawTextPrinter::PrintLine(const QString& text) {
  if (y_ + lineHeight_ > pageHeight_ && y_ > 0) NewPage();
  painter_.drawText(0, y_ + ascent_, text);
  y_ += lineHeight_;
}

void QtRawTextPrinter::NewPage() {
  printer_.newPage();
  y_ = 0;
}

void QtRawTextPrinter::EndDoc() {
  if (!line_.isEmpty()) FlushLine();
  if (painter_.isActive()) painter_.end();
}

void QtRawTextPrinter::Abort() {
  if (!painter_.isActive()) return;
  printer_.abort();
  painter_.end();
}

}  // namespace korvane::gui
