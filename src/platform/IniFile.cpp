// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniFile.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "FileIo.h"
#include "Gbk.h"
#include "Numbers.h"

namespace {

struct Line {
    enum class Kind { Other, Section, Entry };

    std::string_view bytes;   // as stored, without the line break
    std::string_view ending;  // "\r\n", "\n", "\r", or empty on a last line without one
    Kind kind = Kind::Other;
    std::string name;   // section name or key, UTF-8, trimmed
    std::string value;  // UTF-8, trimmed
};

// Each line is decoded on its own: a GBK trail byte can be ']' but never CR or LF, so
// '[', ']' and '=' are only looked for in the decoded text.
void parse(Line& line) {
    const std::string text = gbk::toUtf8(line.bytes);
    const std::string_view t = numbers::trim(text);
    if (t.empty() || t.front() == ';') return;
    if (t.front() == '[') {
        const std::size_t close = t.find(']');
        if (close == std::string_view::npos) return;
        line.kind = Line::Kind::Section;
        line.name = numbers::trim(t.substr(1, close - 1));
        return;
    }
    const std::size_t equals = t.find('=');
    if (equals == std::string_view::npos) return;
    line.kind = Line::Kind::Entry;
    line.name = numbers::trim(t.substr(0, equals));
    line.value = numbers::trim(t.substr(equals + 1));
}

std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    while (!bytes.empty()) {
        Line line;
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        std::size_t next = end;
        if (end < bytes.size()) next += bytes.substr(end, 2) == "\r\n" ? 2 : 1;
        line.bytes = bytes.substr(0, end);
        line.ending = bytes.substr(end, next - end);
        parse(line);
        lines.push_back(std::move(line));
        bytes.remove_prefix(next);
    }
    return lines;
}

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// False for a name the reader would not find again: empty, cut by a line break or by the
// character that ends it, or a key the reader takes for a comment or a section.
bool storable(std::string_view name, std::string_view forbidden, std::string_view badFirst) {
    const std::string_view t = numbers::trim(name);
    return !t.empty() && name.find_first_of(forbidden) == std::string_view::npos &&
           badFirst.find(t.front()) == std::string_view::npos;
}

std::string cutToBuffer(const std::string& value) {
    const std::string bytes = gbk::fromUtf8(value);
    if (bytes.size() <= IniFile::kMaxValueBytes) return value;
    std::size_t end = 0;
    while (end < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[end]);
        const std::size_t width = b >= 0x81 && b <= 0xFE ? 2 : 1;
        if (end + width > IniFile::kMaxValueBytes) break;
        end += width;
    }
    return gbk::toUtf8(std::string_view(bytes).substr(0, end));
}

}  // namespace

std::string readIniValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    const std::string_view wantedSection = numbers::trim(section), wantedKey = numbers::trim(key);
    bool inSection = false;
    for (const Line& line : splitLines(fileBytes)) {
        if (line.kind == Line::Kind::Section) {
            // Only the first section of a name counts, as in the profile functions.
            if (inSection) break;
            inSection = sameName(line.name, wantedSection);
        } else if (inSection && line.kind == Line::Kind::Entry && sameName(line.name, wantedKey)) {
            std::string value = line.value;
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return cutToBuffer(value);
        }
    }
    return std::string(defaultValue);
}

std::string writeIniValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                          std::string_view value) {
    const std::vector<Line> lines = splitLines(fileBytes);
    const std::string_view wantedSection = numbers::trim(section), wantedKey = numbers::trim(key);
    // New lines follow the file's own line breaks; a new file gets those of Windows.
    const std::string eol =
        lines.empty() || lines.front().ending.empty() ? "\r\n" : std::string(lines.front().ending);

    int sectionAt = -1, keyAt = -1, lastInSection = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const Line& line = lines[static_cast<std::size_t>(i)];
        if (line.kind == Line::Kind::Section) {
            if (sectionAt >= 0) break;
            if (sameName(line.name, wantedSection)) sectionAt = lastInSection = i;
        } else if (sectionAt >= 0) {
            if (keyAt < 0 && line.kind == Line::Kind::Entry && sameName(line.name, wantedKey)) keyAt = i;
            if (!numbers::trim(line.bytes).empty()) lastInSection = i;
        }
    }

    std::string oneLine(value);
    for (char& c : oneLine)
        if (c == '\r' || c == '\n') c = ' ';
    // A replaced line keeps the key as the file spells it.
    const std::string_view keyText =
        keyAt >= 0 ? std::string_view(lines[static_cast<std::size_t>(keyAt)].name) : wantedKey;
    const std::string entry = gbk::fromUtf8(std::string(keyText) + "=" + oneLine);

    std::string out;
    out.reserve(fileBytes.size() + entry.size() + 2 * eol.size());
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const Line& line = lines[static_cast<std::size_t>(i)];
        out += i == keyAt ? std::string_view(entry) : line.bytes;
        if (keyAt < 0 && i == lastInSection) {
            out += line.ending.empty() ? std::string_view(eol) : line.ending;
            out += entry + eol;
        } else {
            out += line.ending;
        }
    }
    if (sectionAt < 0) {
        if (!lines.empty() && lines.back().ending.empty()) out += eol;
        out += gbk::fromUtf8("[" + std::string(wantedSection) + "]") + eol + entry + eol;
    }
    return out;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    std::string bytes;
    if (!fileio::readFile(m_path, bytes).isOk()) return std::string(defaultValue);
    return readIniValue(bytes, section, key, defaultValue);
}

Status IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) const {
    if (!storable(section, "]\r\n", "") || !storable(key, "=\r\n", ";["))
        return Status::error(m_path.string() + ": a section or key that cannot be stored");
    std::string bytes;
    const Status read = fileio::readFile(m_path, bytes);
    std::error_code ec;
    // A file that exists but cannot be read is left alone rather than replaced.
    if (!read.isOk() && std::filesystem::exists(m_path, ec)) return read;
    return fileio::writeFileAtomically(m_path, writeIniValue(bytes, section, key, value));
}
