#include "udf/UdfTextScan.h"

#include "platform/sys/TextTrim.h"

namespace {

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

}  // namespace

const std::string& UdfStatementReader::Next() {
    statement_.clear();
    bool inDouble = false;
    bool inSingle = false;
    char previous = '\0';
    while (position_ < text_.size()) {
        const char c = text_[position_];
        if (c == '/' && previous == '/') {
            while (position_ < text_.size() && !IsLineBreak(text_[position_])) ++position_;
            while (position_ < text_.size() && IsLineBreak(text_[position_])) ++position_;
            statement_.pop_back();
            previous = '\0';
            continue;
        }
        ++position_;
        if (IsLineBreak(c)) continue;
        if (c == ';' && !inDouble && !inSingle) break;
        if (c == '"' && previous != '\\' && !inSingle) inDouble = !inDouble;
        if (c == '\'' && previous != '\\' && !inDouble) inSingle = !inSingle;
        statement_ += c;
        previous = c;
    }
    return statement_;
}

std::string_view TrimBlanks(std::string_view text) {
    return sys::Trim(text, " \t");
}

size_t LeadingUnitLength(std::string_view text) {
    if (text.empty()) return 0;
    const char open = text[0];
    if (open == '"' || open == '\'') {
        const size_t close = text.find(open, 1);
        return close == std::string_view::npos ? text.size() : close + 1;
    }
    if (open == '(' || open == '[') {
        const char close = open == '(' ? ')' : ']';
        int depth = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == open) ++depth;
            if (text[i] == close && --depth == 0) return i + 1;
        }
        return text.size();
    }
    return 1;
}

size_t FindTopLevel(std::string_view text, std::string_view token) {
    size_t i = 0;
    while (i < text.size() && text.substr(i, token.size()) != token) i += LeadingUnitLength(text.substr(i));
    return i;
}

std::string_view Unquote(std::string_view text, char open, char close) {
    if (text.empty() || text[0] != open) return text;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == close)) {
            ++i;  // the pair is taken as it stands
        } else if (text[i] == close) {
            return text.substr(1, i - 1);
        }
    }
    return text;
}
