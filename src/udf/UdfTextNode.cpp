#include "udf/UdfTextNode.h"

#include <utility>
#include <vector>

#include "udf/DecimalNumber.h"

double UdfTextNode::AsReal() const {
    double value = 0.0;
    ScanDecimal(value_.view(), value);
    return value;
}

int32_t UdfTextNode::AsInt() const {
    double value = 0.0;
    if (value_.empty() || ScanDecimal(value_.view(), value) != value_.length()) return 0;
    return TruncateToInt32(value);
}

void UdfTextNode::Clear() {
    // Without recursion, so that no depth of tree can exhaust the stack.
    std::vector<UdfTextNode*> doomed;
    const auto collect = [&](const NamedChildren<UdfTextNode>::Entry& entry) { doomed.push_back(entry.node); };
    children_.RemoveAll(collect);
    while (!doomed.empty()) {
        UdfTextNode* node = doomed.back();
        doomed.pop_back();
        node->children_.RemoveAll(collect);
        delete node;
    }
}

UdfTextNode* UdfTextNode::AddChild(EngineString name, std::unique_ptr<UdfTextNode> node) {
    node->name_ = name;
    if (!children_.Add(std::move(name), node.get(), false)) return nullptr;
    return node.release();
}

void UdfTextNode::CopyFrom(const UdfTextNode& other) {
    // Built aside first: `other` may be inside the subtree that this copy replaces.
    UdfTextNode copy;
    copy.CopyOwnFields(other);
    std::vector<std::pair<const UdfTextNode*, UdfTextNode*>> pending{{&other, &copy}};
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        for (const auto& entry : from->children_) {
            auto child = std::make_unique<UdfTextNode>();
            child->CopyOwnFields(*entry.node);
            UdfTextNode* added = to->AddChild(entry.name, std::move(child));
            pending.emplace_back(entry.node, added);
        }
    }
    Clear();
    CopyOwnFields(copy);
    children_ = std::move(copy.children_);
}

uint64_t UdfTextNode::CopyWork() const {
    uint64_t work = 1 + value_.length();
    std::vector<const UdfTextNode*> pending{this};
    while (!pending.empty()) {
        const UdfTextNode* node = pending.back();
        pending.pop_back();
        for (const auto& entry : node->children_) {
            work += 1 + entry.name.length() + entry.node->value_.length();
            pending.push_back(entry.node);
        }
    }
    return work;
}

void UdfTextNode::CopyOwnFields(const UdfTextNode& other) {
    kind_ = other.kind_;
    nextIndex_ = other.nextIndex_;
    value_ = other.value_;
}
