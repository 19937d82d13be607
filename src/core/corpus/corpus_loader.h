// Adding, removing and unloading corpus texts, and the two corpus texts of
// the status bar. Everything here runs on the user-interface thread; the
// loaders let pending messages run between texts (the caller's state may
// change under them, which the busy flags guard against).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

class ProgramState;
class Corpus;

// True when the name, lower-cased, begins with "http://" or "ftp://".
bool IsURL(const std::string& name);

// True when fewer than 5 of the first 256 bytes (up to the first zero byte)
// are control bytes other than tab, line feed, form feed and carriage return
// (or 127 or 255). A file that cannot be read counts as text, so that opening
// it reports why it cannot be opened.
bool IsTextFile(const std::string& path);

// The absolute form of a path with single separators. A bare name stays a
// bare name; no character that a file name may hold is removed.
std::string NormalizePath(const std::string& path);

// Adds the names (files or URLs) in order; flags, when given, holds one
// workspace flag string per name. Shows errors through the host; a text that
// fails is skipped. Lets pending messages run between texts.
void LoadTexts(ProgramState& state, const std::vector<std::string>& names,
               const std::vector<std::string>& flags = {});

// Adds one text; true when it was added. name may be rewritten (a URL after
// redirection). A name already loaded (compared without case) shows that text
// instead; a file that does not look like text is loaded only when the user
// agrees. Errors are shown through the host and return false.
bool LoadText(ProgramState& state, std::string& name, const std::string& flags);

// Replaces each selected URL text that is read from a cached copy by a live
// download; its tables and word count are dropped. Errors are shown and the
// next text is tried. Lets pending messages run.
void ReloadURLTexts(ProgramState& state, const std::vector<int>& selection);

// Removes text i with its reader, source, index tables and temporary files.
void RemoveText(ProgramState& state, int i);

// Removes every text, last to first.
void UnloadCorpus(ProgramState& state);

// TotalWords becomes the sum of the word counts, or 0 as soon as one text is
// not counted. A sum past the largest 32-bit value stays at that value.
void RecomputeTotalWords(Corpus& corpus);

// The corpus has changed: the corpus word table is discarded and word-list
// windows close.
void AnnounceCorpusChange(ProgramState& state);

// The text of the corpus information panel ("2.00 kbytes, 1 file",
// "12,345 words, 2,001 types", or empty while a size is undetermined).
std::string CorpusInfoText(const Corpus& corpus);
// The status line: a space and the hint when not empty, else "No files
// loaded" or "N files in current corpus".
std::string StatusLineText(const Corpus& corpus, const std::string& hint = {});
// "0 bytes", "1 byte", "2.00 kbytes", "1.50 mbytes".
std::string SizeText(std::int64_t size);
// The digits of n with the locale's thousands separator between groups of three.
std::string WithThousands(std::int64_t n);

}  // namespace korvane
