#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/safe_file.h"

// Private-profile (INI) files as the Windows functions keep them: 8-bit
// Windows-1252 text, "[section]" headers and "key=value" lines, names
// matched without regard to case, any line end (CR LF, LF, CR) read and CR
// LF written. Names and values are UTF-8 at this interface.
namespace tk {

// A file larger than this reads as unreadable.
inline constexpr std::size_t kMaxProfileBytes = std::size_t{256} << 20;

// A profile file read once, looked up and changed in memory and written
// once: the cost of a lookup does not grow with the size of the file.
class PrivateProfile {
 public:
  // Reads `file`. A missing file is empty; one that cannot be read (a
  // folder, FIFO or device, no permission, larger than kMaxProfileBytes)
  // reads as empty too, but is never replaced by save().
  static PrivateProfile load(const std::filesystem::path& file);

  // The value text of `key` in `section`, or `defaultValue` when the file,
  // the section or the key is missing; at most bufferSize - 1 characters of
  // it, as a buffer of bufferSize characters holds. A present but empty
  // value gives an empty text. Blanks around the value and one pair of
  // quotes around it are dropped. The first section of that name counts,
  // and in it the first key of that name. The first lookup in a section
  // indexes its keys.
  std::string get(std::string_view section, std::string_view key, std::string_view defaultValue,
                  std::size_t bufferSize);
  // Stores `value` for `key` in `section` (names without '=', a value
  // without line ends): replaces the value in place when the key exists,
  // otherwise adds the key after the last line of the section that is not
  // blank, adding the section at the end of the file when missing. Every
  // other byte of the file stays as it was.
  void set(std::string_view section, std::string_view key, std::string_view value);
  // Writes the file once with every change (replaceFile); fails, leaving the
  // file as it was, when it could not be read or cannot be replaced.
  files::ReplaceResult save() const;

  // Why the file could not be read; empty when it was read or is missing.
  const std::string& readError() const { return readError_; }

 private:
  // Offsets into the file's text fit 32 bits below kMaxProfileBytes.
  using Offset = std::uint32_t;
  // A key line of a section that has been looked up: its name's hash, for a
  // binary search, and where the line starts.
  struct KeyEntry {
    std::uint64_t hash;
    Offset line;
  };
  struct AddedKey {
    std::string key, value;  // Windows-1252
  };
  struct Section {
    std::string name;             // Windows-1252, as written
    Offset body = 0, end = 0;     // its lines after the header; empty for added sections
    Offset insertAt = 0;          // after its last line that is not blank (the header at least)
    std::vector<KeyEntry> keys;   // sorted; filled by the first lookup
    bool indexed = false;
    std::vector<AddedKey> added;  // keys that set() appends, in order
  };
  // A change of the text: [from, to) becomes `text`; a new line when it
  // starts one.
  struct Edit {
    std::size_t from, to;
    std::string text;
    bool newLine;
  };
  // A key found: a line of the file, or a key added to its section.
  struct Found {
    std::optional<Offset> line;
    AddedKey* added = nullptr;
  };

  explicit PrivateProfile(std::filesystem::path file) : file_(std::move(file)) {}
  void indexSections();
  Section* findSection(std::string_view name);
  Found findKey(Section& section, std::string_view key);
  std::string_view lineText(Offset line) const;
  std::vector<std::string_view> render(std::vector<Edit>& edits) const;

  std::filesystem::path file_;
  std::string text_;
  bool readable_ = true;
  std::string readError_;
  std::vector<Section> sections_;          // of the file, in order
  std::vector<Section> addedSections_;     // appended by set(), in order
  std::map<Offset, std::string> replaced_;  // a key line's new text, by where it starts
};

// One lookup in a file read for it (PrivateProfile::get).
std::string getPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, const std::filesystem::path& file);

// One change written to the file at once (PrivateProfile::set and save);
// false when the file could not be written.
bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file);

}  // namespace tk
