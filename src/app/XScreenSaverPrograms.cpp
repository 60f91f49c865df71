#include "app/XScreenSaverPrograms.h"

namespace {

// A carriage return too: a file saved with CR LF line ends keeps them on the entries.
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

size_t LineEnd(std::string_view file, size_t pos) {
    const size_t newline = file.find('\n', pos);
    return newline == std::string_view::npos ? file.size() : newline;
}

// A line continues on the next when it ends in an odd number of backslashes ("\\" is a
// backslash) and a next line exists.
bool Continues(std::string_view file, size_t lineBegin, size_t lineEnd) {
    if (lineEnd >= file.size()) return false;
    size_t backslashes = 0;
    while (lineEnd - backslashes > lineBegin && file[lineEnd - backslashes - 1] == '\\') ++backslashes;
    return backslashes % 2 == 1;
}

bool IsProgramsKey(std::string_view key) {
    constexpr std::string_view kName = "programs";
    if (key == kName) return true;
    return key.size() > kName.size() && key.ends_with(kName) &&
           (key[key.size() - kName.size() - 1] == '.' || key[key.size() - kName.size() - 1] == '*');
}

// The value with continuations removed and escapes read; entries end at "\n", given as '\n'.
std::string DecodeValue(std::string_view value) {
    std::string text;
    // A backslash at the very end of the file escapes nothing and is dropped.
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            text += value[i];
            continue;
        }
        if (++i == value.size()) break;
        const char next = value[i];
        if (next == 'n') text += '\n';
        else if (next != '\n') text += next;
    }
    return text;
}

XScreenSaverProgram ParseEntry(std::string_view entry) {
    XScreenSaverProgram program;
    if (entry.starts_with('-')) {
        program.enabled = false;
        entry = Trim(entry.substr(1));
    }
    const size_t colon = entry.find(':');
    if (colon != std::string_view::npos && colon > 0 && entry.substr(0, colon).find_first_of(" \t\"") == std::string_view::npos) {
        program.visual = entry.substr(0, colon);
        entry = Trim(entry.substr(colon + 1));
    }
    if (entry.starts_with('"')) {
        const size_t close = entry.find('"', 1);
        entry = close == std::string_view::npos ? std::string_view() : Trim(entry.substr(close + 1));
    }
    program.command = entry;
    return program;
}

void ReadValue(std::string_view value, XScreenSaverPrograms& list) {
    const std::string text = DecodeValue(value);
    std::string_view rest = text;
    list.programs.clear();
    for (size_t separator; (separator = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(separator + 1)) {
        const std::string_view entry = Trim(rest.substr(0, separator));
        if (!entry.empty()) list.programs.push_back(ParseEntry(entry));
    }
    // The last entry needs no "\n" to count, only to let another follow.
    const std::string_view last = Trim(rest);
    if (!last.empty()) list.programs.push_back(ParseEntry(last));
    list.closed = last.empty();
}

}  // namespace

XScreenSaverPrograms ParseXScreenSaverPrograms(std::string_view file) {
    XScreenSaverPrograms list;
    for (size_t pos = 0; pos < file.size();) {
        const size_t begin = pos;
        size_t end = LineEnd(file, pos);
        while (Continues(file, pos, end)) {
            pos = end + 1;
            end = LineEnd(file, pos);
        }
        const std::string_view logical = file.substr(begin, end - begin);
        const size_t colon = logical.find(':');
        if (colon != std::string_view::npos && IsProgramsKey(Trim(logical.substr(0, colon)))) {
            list.found = true;
            list.begin = begin;
            list.end = end;
            list.open = pos == file.size() && pos > begin;
            const std::string_view value = logical.substr(colon + 1);
            ReadValue(value.substr(std::min(value.find_first_not_of(kBlanks), value.size())), list);
        }
        pos = end + 1;
    }
    return list;
}

bool ListsProgram(const XScreenSaverPrograms& list, std::string_view name) {
    for (const XScreenSaverProgram& program : list.programs) {
        std::string_view word = program.command;
        word = word.substr(0, word.find_first_of(kBlanks));
        const size_t slash = word.rfind('/');
        if (slash != std::string_view::npos) word.remove_prefix(slash + 1);
        if (word == name) return true;
    }
    return false;
}

std::string AppendProgram(std::string_view file, const XScreenSaverPrograms& list, std::string_view entry) {
    // A value cut off after a lone backslash would escape the first character added: give it a
    // blank to escape.
    size_t backslashes = 0;
    while (backslashes < list.end && file[list.end - backslashes - 1] == '\\') ++backslashes;
    const std::string separator = std::string(backslashes % 2 == 1 && !list.open ? " " : "") + (list.closed ? "" : "\\n");
    std::string added;
    if (list.open) added = separator + std::string(entry) + "\\n\n";
    else added = separator + "\\\n" + std::string(entry) + "\\n";
    std::string result(file.substr(0, list.end));
    result += added;
    result += file.substr(list.end);
    return result;
}
