#pragma once
// A node of a binary value tree: a type name and raw little-endian bytes, or named children, or
// both. Children are owned or linked; a linked child belongs to another parent (its first one)
// and is never destroyed through the link. Nodes read from a file start unloaded and load on
// demand through their reader.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/EngineString.h"
#include "udf/NamedChildren.h"

class UdfReader;

class UdfNode {
public:
    enum Flag : uint8_t { kArray = 0x01, kLink = 0x02, kStruct = 0x04 };

    UdfNode() = default;
    UdfNode(EngineString name, int32_t value);
    UdfNode(EngineString name, float value);
    UdfNode(EngineString name, const EngineString& text);
    UdfNode(EngineString name, std::u16string_view text);
    // The general form. With `copy` the bytes are copied; without it the node refers to them and
    // never frees them (they must outlive the node).
    UdfNode(EngineString name, EngineString typeName, const void* data, uint32_t size, bool copy);
    // An Array node with no data.
    UdfNode(EngineString name, EngineString typeName, uint32_t count);
    UdfNode(const UdfNode&) = delete;
    UdfNode& operator=(const UdfNode&) = delete;
    ~UdfNode() { Clear(); }

    // Each gives the existing child of that name unchanged, or adds a new owned one.
    UdfNode* AddInt(EngineString name, int32_t value);
    UdfNode* AddReal(EngineString name, float value);
    UdfNode* AddString(EngineString name, const EngineString& text);
    UdfNode* AddUString(EngineString name, std::u16string_view text);
    UdfNode* AddData(EngineString name, EngineString typeName, const void* data, uint32_t size, bool copy);
    UdfNode* AddArray(EngineString name, EngineString typeName, uint32_t count);

    // Adds `child` under its own name; an owned child gets this node as its parent. False when the
    // name is taken.
    bool Attach(UdfNode* child, bool linked);
    // Remove the entry without destroying the node, which is given back (null when absent).
    UdfNode* Detach(const UdfNode* child);
    UdfNode* Detach(std::string_view name);
    bool IsLinked(const UdfNode* child) const;
    bool IsLinked(std::string_view name) const;
    // Never loads: load a Struct first.
    UdfNode* FindChild(std::string_view name) const { return children_.FindNode(name); }
    uint32_t ChildCount() const { return children_.Size(); }
    // Entries with `name`, `node` and `linked`, in insertion order.
    const NamedChildren<UdfNode>& Children() const { return children_; }
    // Loads through the reader (mode bits of UdfReader::LoadNode); false without one.
    bool Load(uint32_t mode);
    // Destroys the owned children (and nodes only links reached) and frees the data.
    void Clear();

    const uint8_t* Data() const { return data_; }
    uint32_t Size() const { return size_; }
    // The first 4 bytes, when there are that many; otherwise 0.
    int32_t AsInt() const;
    float AsReal() const;
    EngineString AsString() const;
    std::u16string AsUString() const;
    // Copies min(length, size) bytes; false without data.
    bool CopyData(void* buffer, uint32_t length) const;
    // A new copy of the data (none for size 0); false without data.
    bool TakeCopy(std::unique_ptr<uint8_t[]>& copy, uint32_t& size) const;

    UdfNode* Parent() const { return parent_; }
    void SetParent(UdfNode* parent) { parent_ = parent; }
    UdfReader* Reader() const { return reader_; }
    void SetReader(UdfReader* reader) { reader_ = reader; }
    const EngineString& TypeName() const { return typeName_; }
    void SetTypeName(EngineString typeName) { typeName_ = std::move(typeName); }
    const EngineString& Name() const { return name_; }
    void SetName(EngineString name) { name_ = std::move(name); }
    uint8_t Flags() const { return flags_; }
    void SetFlags(uint8_t flags) { flags_ = flags; }
    uint32_t Count() const { return count_; }
    void SetCount(uint32_t count) { count_ = count; }
    bool DataExternal() const { return dataExternal_; }
    bool DataShared() const { return dataShared_; }
    bool Loaded() const { return loaded_; }
    void SetLoaded(bool loaded) { loaded_ = loaded; }
    bool DataPresent() const { return dataPresent_; }
    uint32_t FileOffset() const { return fileOffset_; }
    void SetFileOffset(uint32_t offset) { fileOffset_ = offset; }
    void SetSize(uint32_t size) { size_ = size; }

    // Data that the node owns from now on (allocated with new[]).
    void TakeData(std::unique_ptr<uint8_t[]> bytes, uint32_t size);
    // Data that stays someone else's: `shared` when it lies in the parent's own block.
    void ReferToData(const uint8_t* bytes, uint32_t size, bool shared);
    void FreeData();

    // A node that only links reach (its owner never appeared) is kept alive by the root of its
    // tree and destroyed with it, after the root's own children.
    void KeepAlive(std::unique_ptr<UdfNode> node);
    std::unique_ptr<UdfNode> ReleaseKept(const UdfNode* node);

private:
    bool HasBytes() const { return dataPresent_ && data_; }
    template <typename Make>
    UdfNode* AddChild(EngineString name, Make make);

    UdfNode* parent_ = nullptr;
    UdfReader* reader_ = nullptr;
    EngineString typeName_;
    EngineString name_;
    uint8_t flags_ = 0;
    uint32_t count_ = 0;
    bool dataExternal_ = false;
    bool dataShared_ = false;
    bool loaded_ = false;
    bool dataPresent_ = false;
    uint32_t fileOffset_ = 0;
    uint32_t size_ = 0;
    const uint8_t* data_ = nullptr;
    NamedChildren<UdfNode> children_;
    std::vector<std::unique_ptr<UdfNode>> kept_;
};
