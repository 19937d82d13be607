// An INI file with the semantics of Windows profile files: sections in square
// brackets, "key=value" lines, section and key names compared without case,
// the first occurrence of a section or key wins, the value is everything after
// the first "=" with surrounding spaces trimmed. Lines end with CR LF when
// written; LF and CR LF are both read.
//
// The whole file is held in memory. Writes change the memory image; Save()
// puts it on disk through a temporary file in the same folder that is renamed
// over the old one, so a failed save never destroys the previous file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvane {

class IniFile {
 public:
  // An empty file that will be saved to path.
  explicit IniFile(std::string path);

  // Reads path; a missing file gives an empty image. Throws Exception when
  // the file exists but cannot be read.
  static IniFile Load(const std::string& path);

  const std::string& Path() const { return path_; }

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // A value that is not a whole number (decimal, or hexadecimal with "$" or
  // "0x") gives the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // "0" is false, any other non-empty value true; missing gives the default.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Keys of a section in file order (first occurrences only).
  std::vector<std::string> ReadSection(std::string_view section) const;
  std::vector<std::string> ReadSections() const;
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);

  // The file's text as it would be saved (CR LF line ends).
  std::string ToText() const;
  // Writes the image to Path() through a temporary file and a rename.
  // Throws Exception on failure; the previous file is then unchanged.
  void Save() const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    // Key folded to lower case -> position in entries, so that long lists
    // (up to 10,000 numbered keys) are read and written in linear time.
    std::unordered_map<std::string, std::size_t> index;

    const Entry* Find(std::string_view key) const;
    Entry* Find(std::string_view key);
    void Add(std::string_view key, std::string_view value);
    void Reindex();
  };

  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);
  const Entry* FindEntry(std::string_view section, std::string_view key) const;
  void Parse(std::string_view text);

  std::string path_;
  std::vector<Section> sections_;
};

// Writes bytes to path through a temporary file in the same folder that is
// renamed over path. Throws Exception with message on failure; path is then
// unchanged.
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const std::string& message);

}  // namespace korvane
