#pragma once
// The text of the settings file, in the desktop's key-file shape: "[group]" lines, "Name=value"
// entries and "#" comments. It is read line by line: a line of any other shape is passed over on
// its own, so one damaged line costs only itself. Values are bytes; only the escapes \s \n \t \r
// and \\ are special (as earlier files were written), so a path that is not UTF-8 round-trips.

#include <string>
#include <string_view>
#include <vector>

namespace sys {

class KeyFileText {
public:
    static KeyFileText Parse(std::string_view text);

    // The value of `name` in `group` with its escapes undone (the last one when the file repeats
    // it); false when there is none or it cannot be read (a bad escape, a NUL byte).
    bool Get(std::string_view group, std::string_view name, std::string& value) const;
    // Replaces the value, or adds it to the group (made at the end when missing).
    void Set(std::string_view group, std::string_view name, std::string_view value);
    void AddComment(std::string_view text);
    // The whole file: every group with its readable entries and comments, in their order.
    std::string Text() const;

private:
    struct Line {
        std::string name;  // empty for a comment
        std::string text;  // the value as written (escaped), or the comment's whole line
    };
    struct Group {
        std::string name;  // empty for the lines before the first group
        std::vector<Line> lines;
        // Under a damaged "[" line: its entries belong to no group we know, and are not kept.
        bool lost = false;
    };
    template <typename Self>
    static auto* Find(Self& self, std::string_view group, std::string_view name);

    std::vector<Group> groups_{Group{}};
};

}  // namespace sys
