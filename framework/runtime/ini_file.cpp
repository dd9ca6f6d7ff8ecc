#include "framework/runtime/ini_file.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "framework/runtime/log.h"

namespace slownik::rt {
namespace {

// One lock per file, whatever spelling of its path a caller used.
std::mutex& pathLock(const std::string& path) {
  static std::mutex tableMutex;
  static std::map<std::string, std::unique_ptr<std::mutex>> locks;
  std::error_code ec;
  std::string canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec).string();
  if (ec || canonical.empty()) canonical = path;
  std::lock_guard lock(tableMutex);
  auto& m = locks[canonical];
  if (!m) m = std::make_unique<std::mutex>();
  return *m;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  a = trim(a);
  b = trim(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// The file as lines, with what each line is.
struct Line {
  std::string text;
  std::string section;  // the section it is in (its own name for a header)
  bool header = false;
  std::string key;      // empty unless "key=value"
  std::string value;
};

std::vector<Line> readLines(const std::string& path) {
  std::vector<Line> lines;
  std::ifstream in(path, std::ios::binary);
  if (!in) return lines;
  std::string text;
  std::string section;
  bool first = true;
  while (std::getline(in, text)) {
    if (first && text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // a BOM some editors write
    first = false;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    Line line;
    line.text = text;
    std::string_view t = trim(text);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      section = std::string(trim(t.substr(1, t.size() - 2)));
      line.header = true;
    } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
      auto eq = t.find('=');
      if (eq != std::string_view::npos && !trim(t.substr(0, eq)).empty()) {
        line.key = std::string(trim(t.substr(0, eq)));
        line.value = std::string(trim(t.substr(eq + 1)));
      }
    }
    line.section = section;
    lines.push_back(std::move(line));
  }
  return lines;
}

bool writeLines(const std::string& path, const std::vector<Line>& lines) {
  std::ostringstream name;
  name << path << ".tmp" << std::this_thread::get_id();
  std::string temp = name.str();
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      logMessage("settings file not written: " + path);
      return false;
    }
    for (const auto& line : lines) out << line.text << "\r\n";
    if (!out.flush()) {
      std::remove(temp.c_str());
      logMessage("settings file not written: " + path);
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    logMessage("settings file not replaced: " + path);
    return false;
  }
  return true;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
  std::lock_guard lock(pathLock(path_));
  for (const auto& line : readLines(path_)) {
    if (!line.key.empty() && sameName(line.section, section) && sameName(line.key, key)) return line.value;
  }
  return std::nullopt;
}

std::string IniFile::get(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto value = find(section, key);
  return value ? *value : std::string(fallback);
}

bool IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos || trim(key).empty() ||
      key.find_first_of("=\r\n") != std::string_view::npos || section.find_first_of("[]\r\n") != std::string_view::npos) {
    logMessage("settings value refused (line break or bad name): [" + std::string(section) + "] " + std::string(key));
    return false;
  }
  std::lock_guard lock(pathLock(path_));
  auto lines = readLines(path_);
  std::string newText = std::string(trim(key)) + "=" + std::string(value);
  int lastInSection = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!sameName(lines[i].section, section)) continue;
    if (lines[i].header || !lines[i].key.empty()) lastInSection = static_cast<int>(i);
    if (!lines[i].key.empty() && sameName(lines[i].key, key)) {
      lines[i].text = lines[i].key + "=" + std::string(value);  // the key keeps the spelling it has
      return writeLines(path_, lines);
    }
  }
  Line line;
  line.text = newText;
  if (lastInSection < 0) {
    Line header;
    header.text = "[" + std::string(trim(section)) + "]";
    header.header = true;
    lines.push_back(header);
    lines.push_back(line);
  } else {
    lines.insert(lines.begin() + lastInSection + 1, line);
  }
  return writeLines(path_, lines);
}

bool IniFile::remove(std::string_view section, std::string_view key) {
  std::lock_guard lock(pathLock(path_));
  auto lines = readLines(path_);
  auto before = lines.size();
  std::erase_if(lines, [&](const Line& l) {
    return !l.key.empty() && sameName(l.section, section) && sameName(l.key, key);
  });
  return lines.size() == before || writeLines(path_, lines);
}

bool IniFile::removeSection(std::string_view section) {
  std::lock_guard lock(pathLock(path_));
  auto lines = readLines(path_);
  auto before = lines.size();
  std::erase_if(lines, [&](const Line& l) { return l.header ? sameName(l.section, section) : (!l.section.empty() && sameName(l.section, section)); });
  return lines.size() == before || writeLines(path_, lines);
}

std::vector<std::string> IniFile::sections() const {
  std::lock_guard lock(pathLock(path_));
  std::vector<std::string> out;
  for (const auto& line : readLines(path_)) {
    if (line.header) out.push_back(line.section);
  }
  return out;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::lock_guard lock(pathLock(path_));
  std::vector<std::string> out;
  for (const auto& line : readLines(path_)) {
    if (!line.key.empty() && sameName(line.section, section)) out.push_back(line.key);
  }
  return out;
}

}  // namespace slownik::rt
