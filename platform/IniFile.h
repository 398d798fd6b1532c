#pragma once

// The text of a settings file shared with the suite's other programs, read and edited
// the way those programs do: "[Section]" lines, "key=value" lines, names compared
// without regard to case, the first of duplicate sections or keys counting. Lines
// starting with ";" or "#" are comments; a ";" inside a value is part of the value.
// Plain C++ on bytes: the editor changes nothing it does not have to, whatever the
// file's line ends or encoding.

#include <optional>
#include <string>
#include <string_view>

// The value of `key` in `section`: the text after the first "=", without the blanks
// around it and without one pair of enclosing double or single quotes. nullopt when
// the section or the key is not there.
std::optional<std::string> iniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// `text` with `key` in `section` set to `value`. Only the value of the key's line
// changes; a missing key is added after the section's last key, a missing section at
// the end of the text. New lines end like the file's first line. nullopt when the
// names or the value cannot be written as one line (a line end, "=" in the key, "]"
// in the section, an empty name).
std::optional<std::string> iniWithValue(std::string_view text, std::string_view section,
                                        std::string_view key, std::string_view value);
