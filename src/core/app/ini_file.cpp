#include "app/ini_file.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/errors.h"

namespace korvane {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string FoldCase(std::string_view s) {
  std::string folded(s);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return folded;
}

std::string_view Trim(std::string_view s) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniFile IniFile::Load(const std::string& path) {
  IniFile ini(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (errno == ENOENT || access(path.c_str(), F_OK) != 0) return ini;
    throw Exception(UnableToOpenFileMessage(path));
  }
  std::string text;
  try {
    // A read error (a folder, an I/O fault) surfaces as an exception of the
    // stream, which callers must see as ours.
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    throw Exception(UnableToOpenFileMessage(path));
  }
  if (in.bad()) throw Exception(UnableToOpenFileMessage(path));
  ini.Parse(text);
  return ini;
}

void IniFile::Parse(std::string_view text) {
  Section* current = nullptr;
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::size_t close = line.find(']');
      std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
      current = FindSection(name);
      if (current == nullptr) {
        sections_.push_back(Section{std::string(name), {}, {}});
        current = &sections_.back();
      }
      continue;
    }
    if (current == nullptr) continue;  // lines before the first section are ignored
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = Trim(line.substr(0, eq));
    std::string_view value = Trim(line.substr(eq + 1));
    if (current->Find(key) == nullptr) current->Add(key, value);
  }
}

const IniFile::Entry* IniFile::Section::Find(std::string_view key) const {
  const auto it = index.find(FoldCase(key));
  return it == index.end() ? nullptr : &entries[it->second];
}

IniFile::Entry* IniFile::Section::Find(std::string_view key) {
  const auto it = index.find(FoldCase(key));
  return it == index.end() ? nullptr : &entries[it->second];
}

void IniFile::Section::Add(std::string_view key, std::string_view value) {
  index.emplace(FoldCase(key), entries.size());
  entries.push_back(Entry{std::string(key), std::string(value)});
}

void IniFile::Section::Reindex() {
  index.clear();
  for (std::size_t i = 0; i < entries.size(); ++i) index.emplace(FoldCase(entries[i].key), i);
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  for (const Section& s : sections_)
    if (EqualNoCase(s.name, name)) return &s;
  return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  for (Section& s : sections_)
    if (EqualNoCase(s.name, name)) return &s;
  return nullptr;
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  return s == nullptr ? nullptr : s->Find(key);
}

bool IniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindEntry(section, key) != nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const Entry* e = FindEntry(section, key);
  return std::string(e != nullptr ? std::string_view(e->value) : defaultValue);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
  const Entry* e = FindEntry(section, key);
  if (e == nullptr) return defaultValue;
  std::string s = e->value;
  int base = 10;
  std::size_t start = 0;
  bool negative = false;
  if (start < s.size() && (s[start] == '-' || s[start] == '+')) negative = s[start++] == '-';
  if (start < s.size() && s[start] == '$') {
    base = 16;
    ++start;
  } else if (start + 1 < s.size() && s[start] == '0' && (s[start + 1] == 'x' || s[start + 1] == 'X')) {
    base = 16;
    start += 2;
  }
  if (start >= s.size()) return defaultValue;
  long long value = 0;
  for (std::size_t i = start; i < s.size(); ++i) {
    const char c = s[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return defaultValue;
    value = value * base + digit;
    if (value > 0xFFFFFFFFLL) return defaultValue;
  }
  if (negative) value = -value;
  if (base == 16 && !negative && value > 0x7FFFFFFFLL) value -= 0x100000000LL;  // $FFFFFFFF is -1
  if (value < INT32_MIN || value > INT32_MAX) return defaultValue;
  return static_cast<std::int32_t>(value);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = FindSection(section);
  if (s == nullptr) {
    sections_.push_back(Section{std::string(section), {}, {}});
    s = &sections_.back();
  }
  if (Entry* e = s->Find(key)) e->value = std::string(value);
  else s->Add(key, value);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = FindSection(section))
    for (const Entry& e : s->entries) keys.push_back(e.key);
  return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

void IniFile::EraseSection(std::string_view section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (EqualNoCase(it->name, section)) {
      sections_.erase(it);
      return;
    }
  }
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  Section* s = FindSection(section);
  if (s == nullptr) return;
  const Entry* e = s->Find(key);
  if (e == nullptr) return;
  s->entries.erase(s->entries.begin() + (e - s->entries.data()));
  s->Reindex();
}

std::string IniFile::ToText() const {
  std::string out;
  bool first = true;
  for (const Section& s : sections_) {
    if (!first) out += "\r\n";
    first = false;
    out += "[" + s.name + "]\r\n";
    for (const Entry& e : s.entries) out += e.key + "=" + e.value + "\r\n";
  }
  return out;
}

void IniFile::Save() const {
  WriteFileAtomically(path_, ToText(), UnableToOpenFileMessage(path_));
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, const std::string& message) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) throw Exception(message);
  bool ok = true;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else {
      p += n;
      left -= static_cast<std::size_t>(n);
    }
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) {
    ::chmod(temp.c_str(), 0644);
    ok = std::rename(temp.c_str(), path.c_str()) == 0;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    throw Exception(message);
  }
}

}  // namespace korvane
