#include "corpus/corpus.h"

#include <strings.h>

#include <cstdio>
#include <filesystem>

#include "corpus/buf_stream.h"
#include "corpus/synchro_stream.h"
#include "frequency/hash_strings.h"
#include "tags/indexed_stream.h"

namespace korvane {

TIndexSlot::TIndexSlot() = default;
TIndexSlot::~TIndexSlot() { Release(); }
TIndexSlot::TIndexSlot(TIndexSlot&&) noexcept = default;
TIndexSlot& TIndexSlot::operator=(TIndexSlot&& other) noexcept {
  if (this != &other) {
    Release();
    Name = std::move(other.Name);
    Index = std::move(other.Index);
    other.Name.clear();
  }
  return *this;
}

std::string CompanionFileName(const std::string& indexFileName) {
  const std::filesystem::path path(indexFileName);
  return (path.parent_path() / (path.stem().string() + "H.tmp")).string();
}

void TIndexSlot::Release() {
  const bool hadFile = Index != nullptr && Index->OwnsFile() && !Name.empty() && Name != " ";
  Index.reset();
  if (hadFile) {
    std::remove(CompanionFileName(Name).c_str());
    std::remove(Name.c_str());
  }
  Name.clear();
}

TCorpusText::TCorpusText() = default;
TCorpusText::~TCorpusText() {
  // The reader goes before the source it reads.
  CorpusReaders.reset();
  CorpusStreams.reset();
}
TCorpusText::TCorpusText(TCorpusText&&) noexcept = default;
TCorpusText& TCorpusText::operator=(TCorpusText&&) noexcept = default;

Corpus::Corpus() = default;
Corpus::~Corpus() = default;

std::int64_t Corpus::TotalSize() const {
  std::int64_t total = 0;
  for (const TCorpusText& text : Texts) total += text.CorpusStreams->GetSize();
  return total;
}

bool Corpus::SizeUndetermined() const {
  for (const TCorpusText& text : Texts)
    if (text.CorpusStreams->GetSize() == INT32_MAX) return true;
  return false;
}

int Corpus::IndexOf(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (strcasecmp(Texts[i].CorpusFiles.c_str(), name.c_str()) == 0) return i;
  return -1;
}

}  // namespace korvane
