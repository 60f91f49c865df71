#pragma once
// A node of a text value tree: every value is text, converted only when read. A node owns its
// children, which keep their insertion order (array elements are children named "0", "1", ...).

#include <cstdint>
#include <memory>
#include <string_view>

#include "common/EngineString.h"
#include "udf/NamedChildren.h"

class UdfTextNode {
public:
    enum Kind : int32_t { kScalar = 0, kObject = 1, kArray = 2 };

    UdfTextNode() = default;
    explicit UdfTextNode(EngineString name) : name_(std::move(name)) {}
    UdfTextNode(const UdfTextNode&) = delete;
    UdfTextNode& operator=(const UdfTextNode&) = delete;
    ~UdfTextNode() { Clear(); }

    UdfTextNode* FindChild(std::string_view name) const { return children_.FindNode(name); }
    uint32_t ChildCount() const { return children_.Size(); }
    // Entries with `name` and `node`, in insertion order.
    const NamedChildren<UdfTextNode>& Children() const { return children_; }

    int32_t Kind() const { return kind_; }
    const EngineString& Name() const { return name_; }
    const EngineString& Value() const { return value_; }
    int32_t NextIndex() const { return nextIndex_; }

    EngineString AsString() const { return value_; }
    // What strtod reads from the front of the value; 0.0 for none.
    double AsReal() const;
    // The number cut toward zero when the whole value is one, otherwise 0.
    int32_t AsInt() const;

    // Mutators for the parser.
    void Clear();
    void SetValue(EngineString value) { value_ = std::move(value); }
    void SetKind(int32_t kind) { kind_ = kind; }
    void SetNextIndex(int32_t next) { nextIndex_ = next; }
    // Appends `node` under `name` (which becomes its name); null, and the node dropped, when the
    // name is taken.
    UdfTextNode* AddChild(EngineString name, std::unique_ptr<UdfTextNode> node);
    // Deep copy of kind, next index, value and children; this node keeps its name. `other` may
    // lie inside this node's subtree or above it: the copy is of `other` as it was.
    void CopyFrom(const UdfTextNode& other);
    // What a copy of this subtree makes: its nodes plus the bytes of their names and values.
    uint64_t CopyWork() const;

private:
    void CopyOwnFields(const UdfTextNode& other);

    NamedChildren<UdfTextNode> children_;
    int32_t kind_ = kScalar;
    int32_t nextIndex_ = 0;
    EngineString name_;
    EngineString value_;
};
