#include "udf/UdfNode.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "common/LittleEndian.h"
#include "udf/UdfReader.h"

UdfNode::UdfNode(EngineString name, int32_t value) : typeName_("int"), name_(std::move(name)) {
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[4]);
    PutLe32(bytes.get(), static_cast<uint32_t>(value));
    TakeData(std::move(bytes), 4);
    loaded_ = true;
}

UdfNode::UdfNode(EngineString name, float value)
    : UdfNode(std::move(name), std::bit_cast<int32_t>(value)) {
    typeName_ = "real";
}

UdfNode::UdfNode(EngineString name, const EngineString& text)
    : UdfNode(std::move(name), "string", text.c_str(), text.length(), true) {}

UdfNode::UdfNode(EngineString name, std::u16string_view text) : typeName_("ustring"), name_(std::move(name)) {
    const auto size = static_cast<uint32_t>(text.size() * 2);
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<uint8_t>(text[i]);
        bytes[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    TakeData(std::move(bytes), size);
    loaded_ = true;
}

UdfNode::UdfNode(EngineString name, EngineString typeName, const void* data, uint32_t size, bool copy)
    : typeName_(std::move(typeName)), name_(std::move(name)) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (copy && size > 0 && bytes) {
        std::unique_ptr<uint8_t[]> own(new uint8_t[size]);
        std::memcpy(own.get(), bytes, size);
        TakeData(std::move(own), size);
    } else {
        ReferToData(bytes, size, false);
    }
    loaded_ = true;
}

UdfNode::UdfNode(EngineString name, EngineString typeName, uint32_t count)
    : typeName_(std::move(typeName)), name_(std::move(name)), flags_(kArray), count_(count) {}

template <typename Make>
UdfNode* UdfNode::AddChild(EngineString name, Make make) {
    flags_ |= kStruct;
    if (UdfNode* existing = FindChild(name.view())) return existing;
    std::unique_ptr<UdfNode> child = make(std::move(name));
    Attach(child.get(), false);
    return child.release();
}

UdfNode* UdfNode::AddInt(EngineString name, int32_t value) {
    return AddChild(std::move(name), [&](EngineString n) { return std::make_unique<UdfNode>(std::move(n), value); });
}

UdfNode* UdfNode::AddReal(EngineString name, float value) {
    return AddChild(std::move(name), [&](EngineString n) { return std::make_unique<UdfNode>(std::move(n), value); });
}

UdfNode* UdfNode::AddString(EngineString name, const EngineString& text) {
    return AddChild(std::move(name), [&](EngineString n) { return std::make_unique<UdfNode>(std::move(n), text); });
}

UdfNode* UdfNode::AddUString(EngineString name, std::u16string_view text) {
    return AddChild(std::move(name), [&](EngineString n) { return std::make_unique<UdfNode>(std::move(n), text); });
}

UdfNode* UdfNode::AddData(EngineString name, EngineString typeName, const void* data, uint32_t size, bool copy) {
    return AddChild(std::move(name), [&](EngineString n) {
        return std::make_unique<UdfNode>(std::move(n), std::move(typeName), data, size, copy);
    });
}

UdfNode* UdfNode::AddArray(EngineString name, EngineString typeName, uint32_t count) {
    return AddChild(std::move(name), [&](EngineString n) {
        return std::make_unique<UdfNode>(std::move(n), std::move(typeName), count);
    });
}

bool UdfNode::Attach(UdfNode* child, bool linked) {
    flags_ |= kStruct;
    if (!child || !children_.Add(child->name_, child, linked)) return false;
    if (!linked) child->parent_ = this;
    return true;
}

UdfNode* UdfNode::Detach(const UdfNode* child) { return child ? Detach(child->name_.view()) : nullptr; }

UdfNode* UdfNode::Detach(std::string_view name) {
    const NamedChildren<UdfNode>::Entry entry = children_.Remove(name);
    if (entry.node && entry.node->parent_ == this && !entry.linked) entry.node->parent_ = nullptr;
    return entry.node;
}

bool UdfNode::IsLinked(const UdfNode* child) const {
    const auto* entry = child ? children_.Find(child->name_.view()) : nullptr;
    return entry && entry->node == child && entry->linked;
}

bool UdfNode::IsLinked(std::string_view name) const {
    const auto* entry = children_.Find(name);
    return entry && entry->linked;
}

bool UdfNode::Load(uint32_t mode) { return reader_ && reader_->LoadNode(*this, mode, 0); }

void UdfNode::Clear() {
    children_.RemoveAll([](const NamedChildren<UdfNode>::Entry& entry) {
        if (!entry.linked) delete entry.node;
    });
    kept_.clear();
    FreeData();
}

int32_t UdfNode::AsInt() const { return HasBytes() && size_ >= 4 ? static_cast<int32_t>(GetLe32(data_)) : 0; }

float UdfNode::AsReal() const { return HasBytes() && size_ >= 4 ? std::bit_cast<float>(GetLe32(data_)) : 0.0f; }

EngineString UdfNode::AsString() const {
    return HasBytes() ? EngineString(reinterpret_cast<const char*>(data_), size_) : EngineString();
}

std::u16string UdfNode::AsUString() const {
    std::u16string text;
    if (!HasBytes()) return text;
    text.resize(size_ / 2);
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data_[2 * i] | data_[2 * i + 1] << 8);
    return text;
}

bool UdfNode::CopyData(void* buffer, uint32_t length) const {
    if (!dataPresent_) return false;
    const uint32_t n = std::min(length, size_);
    if (n > 0 && data_) std::memcpy(buffer, data_, n);
    return true;
}

bool UdfNode::TakeCopy(std::unique_ptr<uint8_t[]>& copy, uint32_t& size) const {
    copy.reset();
    size = 0;
    if (!dataPresent_) return false;
    size = data_ ? size_ : 0;
    if (size > 0) {
        copy.reset(new uint8_t[size]);
        std::memcpy(copy.get(), data_, size);
    }
    return true;
}

void UdfNode::TakeData(std::unique_ptr<uint8_t[]> bytes, uint32_t size) {
    FreeData();
    data_ = bytes.release();
    size_ = size;
    dataPresent_ = true;
}

void UdfNode::ReferToData(const uint8_t* bytes, uint32_t size, bool shared) {
    FreeData();
    data_ = bytes;
    size_ = size;
    dataExternal_ = !shared;
    dataShared_ = shared;
    dataPresent_ = true;
}

void UdfNode::FreeData() {
    // A shared block belongs to the parent: freeing a pointer into it is never right.
    if (data_ && !dataExternal_ && !dataShared_) delete[] data_;
    data_ = nullptr;
    dataExternal_ = false;
    dataShared_ = false;
    dataPresent_ = false;
}

void UdfNode::KeepAlive(std::unique_ptr<UdfNode> node) { kept_.push_back(std::move(node)); }

std::unique_ptr<UdfNode> UdfNode::ReleaseKept(const UdfNode* node) {
    const auto it = std::find_if(kept_.begin(), kept_.end(), [&](const auto& kept) { return kept.get() == node; });
    if (it == kept_.end()) return nullptr;
    std::unique_ptr<UdfNode> released = std::move(*it);
    kept_.erase(it);
    return released;
}
