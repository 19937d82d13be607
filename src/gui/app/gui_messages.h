// The texts that the desktop program itself shows (the core's texts come with
// the core): each is produced here and nowhere else.
#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace korvane::gui {

// "Do you really want to quit?"
QString QuitQuestion();
// The information box of a menu command whose work this version lacks.
QString CommandNotAvailableMessage(const QString& caption);
// The application-wide error handler's two messages and their caption.
QString OutOfMemoryMessage();
QString InternalErrorMessage();
QString ErrorHandlerCaption();
// The start-up failure and its caption.
QString StartupFailureMessage();
QString StartupFailureCaption();
// The help page could not be found or opened.
QString HelpNotFoundMessage(const QString& path);
// The main window's caption: "Korvane", or "Korvane - Name" with a workspace
// (its file name without folder and extension, lower-cased, first letter
// upper-cased).
QString FrameCaption(const std::string& workspaceFile);
// The hint of a URL progress box: "URL (45.00% of 1.50 mbytes)" or, while the
// size is undetermined, "URL (1.50 mbytes of unknown)".
QString URLBoxHint(const std::string& url, std::int32_t totalSize, std::int32_t received);
// The text viewer's caption: "Corpus Text - " and the URL, or the file name.
QString CorpusTextCaption(const std::string& name);
// The corpus list dialog's two captions.
QString CorporaListCaption();
QString SelectFilesToViewCaption();
// A printer that could not take the text.
QString PrinterErrorMessage();

}  // namespace korvane::gui
