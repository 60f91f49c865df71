#include "udf/UdfTypeDef.h"

#include <algorithm>

namespace {

constexpr int kMaxNesting = 64;

uint32_t Saturate(uint64_t value) { return static_cast<uint32_t>(std::min<uint64_t>(value, UINT32_MAX)); }

}  // namespace

bool IsUdfBasicType(std::string_view typeName) { return UdfBasicSize(typeName) != 0; }

uint32_t UdfBasicSize(std::string_view typeName) {
    if (typeName == "int" || typeName == "real") return 4;
    if (typeName == "char" || typeName == "byte") return 1;
    return 0;
}

void UdfTypeTable::Add(UdfTypeDef def) {
    std::string name(def.name.view());
    types_.insert_or_assign(std::move(name), std::move(def));
    sizes_.clear();
}

void UdfTypeTable::Clear() {
    types_.clear();
    sizes_.clear();
}

const UdfTypeDef* UdfTypeTable::Find(std::string_view name) const {
    const auto it = types_.find(name);
    return it == types_.end() ? nullptr : &it->second;
}

uint32_t UdfTypeTable::StructSize(std::string_view name) const { return StructSizeAt(name, 0); }

uint32_t UdfTypeTable::MemberSize(const UdfTypeMember& member) const { return MemberSizeAt(member, 0); }

uint32_t UdfTypeTable::ElementSize(std::string_view typeName, int depth) const {
    const uint32_t basic = UdfBasicSize(typeName);
    return basic != 0 ? basic : StructSizeAt(typeName, depth + 1);
}

uint32_t UdfTypeTable::MemberSizeAt(const UdfTypeMember& member, int depth) const {
    const uint64_t element = ElementSize(member.typeName.view(), depth);
    return Saturate(member.isArray ? element * member.count : element);
}

uint32_t UdfTypeTable::StructSizeAt(std::string_view name, int depth) const {
    const UdfTypeDef* def = Find(name);
    if (!def || depth > kMaxNesting) return 0;
    // Remembered once computed, so shared member types are summed once; meeting a type that is
    // still being computed (it contains itself) gives its placeholder 0.
    if (const auto cached = sizes_.find(name); cached != sizes_.end()) return cached->second;
    sizes_[std::string(name)] = 0;
    uint64_t total = 0;
    for (const UdfTypeMember& member : def->members) total += MemberSizeAt(member, depth);
    const uint32_t size = Saturate(total);
    sizes_[std::string(name)] = size;
    return size;
}
