#include "platform/sys/linux/KeyFileText.h"

namespace sys {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\0') return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case 's': out += ' '; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case '\\': out += '\\'; break;
            default: return false;
        }
    }
    return true;
}

// Blanks are escaped only at the ends, where reading trims them.
std::string Escape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool end = i == 0 || i + 1 == value.size();
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\\') out += "\\\\";
        else if (c == '\t' && end) out += "\\t";
        else if (c == ' ' && end) out += "\\s";
        else out += c;
    }
    return out;
}

}  // namespace

KeyFileText KeyFileText::Parse(std::string_view text) {
    KeyFileText file;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty()) continue;
        if (trimmed.front() == '#') {
            file.groups_.back().lines.push_back({{}, std::string(trimmed)});
        } else if (trimmed.front() == '[') {
            const bool whole = trimmed.back() == ']' && trimmed.size() > 2;
            file.groups_.push_back({whole ? std::string(trimmed.substr(1, trimmed.size() - 2)) : std::string(), {}, !whole});
        } else if (const size_t equals = trimmed.find('='); equals != std::string_view::npos) {
            const std::string_view name = Trim(trimmed.substr(0, equals));
            if (!name.empty()) file.groups_.back().lines.push_back({std::string(name), std::string(Trim(trimmed.substr(equals + 1)))});
        }
    }
    return file;
}

template <typename Self>
auto* KeyFileText::Find(Self& self, std::string_view group, std::string_view name) {
    decltype(&self.groups_.front().lines.front()) found = nullptr;
    for (auto& g : self.groups_) {
        if (g.lost || g.name != group) continue;
        for (auto& line : g.lines)
            if (!name.empty() && line.name == name) found = &line;
    }
    return found;
}

bool KeyFileText::Get(std::string_view group, std::string_view name, std::string& value) const {
    const Line* line = Find(*this, group, name);
    return line && Unescape(line->text, value);
}

void KeyFileText::Set(std::string_view group, std::string_view name, std::string_view value) {
    if (Line* line = Find(*this, group, name)) {
        line->text = Escape(value);
        return;
    }
    Group* target = nullptr;
    for (Group& g : groups_)
        if (!g.lost && g.name == group) target = &g;
    if (!target) target = &groups_.emplace_back(Group{std::string(group), {}, false});
    target->lines.push_back({std::string(name), Escape(value)});
}

void KeyFileText::AddComment(std::string_view text) { groups_.front().lines.push_back({{}, "#" + std::string(text)}); }

std::string KeyFileText::Text() const {
    std::string out;
    for (const Group& g : groups_) {
        if (g.lost) continue;
        if (!g.name.empty()) {
            if (!out.empty()) out += '\n';
            out += "[" + g.name + "]\n";
        }
        for (const Line& line : g.lines) out += line.name.empty() ? line.text + "\n" : line.name + "=" + line.text + "\n";
    }
    return out;
}

}  // namespace sys
