#include "udf/UdfTextParser.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "udf/DecimalNumber.h"
#include "udf/UdfTextScan.h"

namespace {

// Guards against files that include themselves and against elements nested so deeply that the
// recursion would exhaust the stack. No real file comes near either.
constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxNesting = 200;
// The work one parse may do, counted in nodes made plus bytes of names and values stored,
// grows by this much per byte read (and a fixed allowance for small files). Real files do about
// one unit per byte; copy assignments that double a tree, or files included over and over, do
// not stop by themselves, and at 64 a 16 KB file could make a million nodes.
constexpr uint64_t kWorkPerByte = 8;
constexpr uint64_t kWorkBase = 4096;
constexpr int kMaxIncludes = 256;

// Shared by a file and everything it includes.
class WorkBudget {
public:
    void Grant(uint32_t bytes) { left_ += kWorkBase + kWorkPerByte * bytes; }
    // False, and from then on always, once the work is more than is left.
    bool Spend(uint64_t work) {
        if (exhausted_ || work > left_) {
            exhausted_ = true;
            return false;
        }
        left_ -= work;
        return true;
    }
    bool Exhausted() const { return exhausted_; }
    // False, and the parse spent, past the last include allowed.
    bool TakeInclude() {
        if (++includes_ > kMaxIncludes) exhausted_ = true;
        return !exhausted_;
    }

private:
    uint64_t left_ = 0;
    int includes_ = 0;
    bool exhausted_ = false;
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsNumber(std::string_view text) {
    double value = 0.0;
    return !text.empty() && ScanDecimal(text, value) == text.size();
}

// Where a statement's operator stands: "=>" or "=", counted only where its first occurrence is
// at top level.
bool FindOperator(std::string_view statement, size_t& position, size_t& length) {
    for (const std::string_view token : {std::string_view("=>"), std::string_view("=")}) {
        const size_t at = statement.find(token);
        if (at != std::string_view::npos && FindTopLevel(statement, token) == at) {
            position = at;
            length = token.size();
            return true;
        }
    }
    return false;
}

class UdfTextParser {
public:
    UdfTextParser(UdfTextNode& root, const FileSearchList* searchList, int includeDepth, WorkBudget& budget)
        : root_(root), searchList_(searchList), includeDepth_(includeDepth), budget_(budget) {}

    bool Parse(DataStream& stream);

private:
    bool RunStatement(std::string_view statement, UdfTextNode* context, int nesting);
    // An include that opens gives the included file's result in `result`.
    bool RunInclude(std::string_view statement, bool& result);
    void Assign(UdfTextNode& target, std::string_view value, int nesting);
    // Follows a path of "."- and "["-separated names from `start` (the root when null), creating
    // what is missing. `names`, when given, receives the names along the way.
    UdfTextNode* Resolve(std::string_view path, UdfTextNode* start, std::vector<EngineString>* names = nullptr);
    // Adds a child, or gives null when the budget is spent.
    UdfTextNode* AddChild(UdfTextNode& parent, EngineString name);
    // The node named by the file's `using`, found again by its names, so that a context whose node
    // a later assignment destroyed lapses instead of dangling.
    UdfTextNode* FileContext();

    UdfTextNode& root_;
    const FileSearchList* searchList_;
    int includeDepth_;
    WorkBudget& budget_;
    bool hasContext_ = false;
    std::vector<EngineString> contextPath_;
};

bool UdfTextParser::Parse(DataStream& stream) {
    const uint32_t size = stream.Size();
    if (size == 0) return false;
    std::unique_ptr<char[]> buffer(new char[size]);
    // A stream positioned past its start gives only what remains.
    const uint32_t length = stream.Read(buffer.get(), size);
    if (length == 0) return false;
    budget_.Grant(length);
    UdfStatementReader reader(std::string_view(buffer.get(), length));
    bool result = true;
    while (!budget_.Exhausted()) {
        const std::string& statement = reader.Next();
        if (statement.empty()) break;
        if (!RunStatement(statement, nullptr, 0)) result = false;
    }
    return result && !budget_.Exhausted();
}

UdfTextNode* UdfTextParser::FileContext() {
    if (!hasContext_) return nullptr;
    UdfTextNode* node = &root_;
    for (const EngineString& name : contextPath_) {
        node = node->FindChild(name.view());
        if (!node) {
            hasContext_ = false;
            return nullptr;
        }
    }
    return node;
}

bool UdfTextParser::RunStatement(std::string_view statement, UdfTextNode* context, int nesting) {
    const bool fileLevel = nesting == 0;
    if (fileLevel) context = FileContext();
    const std::string_view s = TrimBlanks(statement);
    if (StartsWith(s, "using")) {
        const std::string_view rest = TrimBlanks(s.substr(5));
        std::vector<EngineString> path;
        if (!rest.empty()) {
            UdfTextNode* node = Resolve(rest, nullptr, &path);
            if (!node) return false;
            node->SetKind(UdfTextNode::kObject);
        }
        // An element's context is its array or object again for the next element.
        if (fileLevel) {
            hasContext_ = !rest.empty();
            contextPath_ = std::move(path);
        }
        return true;
    }
    bool includeResult = true;
    if (StartsWith(s, "include") && RunInclude(s, includeResult)) return includeResult;

    size_t position = 0;
    size_t length = 0;
    UdfTextNode* target = nullptr;
    std::string_view value;
    if (FindOperator(s, position, length)) {
        target = Resolve(TrimBlanks(s.substr(0, position)), context);
        value = TrimBlanks(s.substr(position + length));
        if (!target) return false;
    } else {
        if (!context) return true;
        EngineString name;
        do {
            const int32_t index = context->NextIndex();
            context->SetNextIndex(index + 1);
            name = EngineString(index, 10);
        } while (context->FindChild(name.view()));
        target = AddChild(*context, name);
        if (!target) return false;
        value = s;
    }
    Assign(*target, value, nesting);
    return true;
}

bool UdfTextParser::RunInclude(std::string_view statement, bool& result) {
    const size_t open = statement.find('(');
    const size_t close = statement.find(')');
    std::string_view inside;
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
        inside = TrimBlanks(statement.substr(open + 1, close - open - 1));
    }
    const std::string_view group = inside.substr(0, LeadingUnitLength(inside));
    const std::string_view name = group.size() >= 2 ? group.substr(1, group.size() - 2) : std::string_view();
    // The bare name on disk, then the search directories, then the search archives.
    if (includeDepth_ >= kMaxIncludeDepth) return false;
    if (!budget_.TakeInclude()) {
        result = false;
        return true;
    }
    FileSource source{EngineString(name)};
    source.sources |= FileSource::kArchive;
    if (searchList_) searchList_->Resolve(source);
    std::unique_ptr<DataStream> stream = source.Open(DataStream::kRead);
    if (!stream) return false;
    result = UdfTextParser(root_, searchList_, includeDepth_ + 1, budget_).Parse(*stream);
    stream->Close();
    return true;
}

void UdfTextParser::Assign(UdfTextNode& target, std::string_view value, int nesting) {
    target.Clear();
    target.SetNextIndex(0);
    const bool isArray = StartsWith(value, "array");
    if (isArray || StartsWith(value, "object")) {
        target.SetKind(isArray ? UdfTextNode::kArray : UdfTextNode::kObject);
        const size_t open = value.find('(');
        if (open == std::string_view::npos || nesting >= kMaxNesting) return;
        // Up to the value's last character, whatever it is.
        const size_t end = value.size() - 1;
        std::string_view elements = open + 1 < end ? TrimBlanks(value.substr(open + 1, end - open - 1)) : "";
        while (!elements.empty() && !budget_.Exhausted()) {
            const size_t comma = FindTopLevel(elements, ",");
            RunStatement(elements.substr(0, comma), &target, nesting + 1);
            elements = comma < elements.size() ? elements.substr(comma + 1) : std::string_view();
        }
        return;
    }
    target.SetKind(UdfTextNode::kScalar);
    if (value.empty()) {
        target.SetValue(EngineString());
    } else if (value[0] == '"' || value[0] == '\'') {
        if (budget_.Spend(value.size())) target.SetValue(EngineString(Unquote(value, value[0], value[0])));
    } else if (IsNumber(value)) {
        if (budget_.Spend(value.size())) target.SetValue(EngineString(value));
    } else if (const UdfTextNode* source = Resolve(value, nullptr)) {
        if (budget_.Spend(source->CopyWork())) target.CopyFrom(*source);
    }
}

UdfTextNode* UdfTextParser::Resolve(std::string_view path, UdfTextNode* start, std::vector<EngineString>* names) {
    constexpr size_t npos = std::string_view::npos;
    UdfTextNode* node = start ? start : &root_;
    std::string_view rest = path;
    for (;;) {
        const size_t dot = rest.find('.');
        const size_t bracket = rest.find('[', !rest.empty() && rest[0] == '[' ? 1 : 0);
        std::string_view segment = rest;
        int32_t kind = -1;  // the last segment sets none
        std::string_view next;
        if (dot != npos && dot < bracket) {
            segment = rest.substr(0, dot);
            kind = UdfTextNode::kObject;
            next = TrimBlanks(rest.substr(dot + 1));
        } else if (bracket != npos) {
            segment = rest.substr(0, bracket);
            kind = UdfTextNode::kArray;
            next = TrimBlanks(rest.substr(bracket));
        }
        const EngineString name(TrimBlanks(Unquote(segment, '[', ']')));
        UdfTextNode* child = node->FindChild(name.view());
        if (!child) child = AddChild(*node, name);
        if (!child) return nullptr;
        if (names) names->push_back(name);
        if (kind >= 0) child->SetKind(kind);
        node = child;
        if (kind < 0) return node;
        rest = next;
    }
}

UdfTextNode* UdfTextParser::AddChild(UdfTextNode& parent, EngineString name) {
    if (!budget_.Spend(1 + name.length())) return nullptr;
    return parent.AddChild(std::move(name), std::make_unique<UdfTextNode>());
}

}  // namespace

bool ParseUdfText(DataStream& stream, UdfTextNode& root, const FileSearchList* searchList) {
    WorkBudget budget;
    return UdfTextParser(root, searchList, 0, budget).Parse(stream);
}
