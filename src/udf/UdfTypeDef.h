#pragma once
// Structure types carried in a binary file's type table, and the sizes they give to leaves that
// are expanded into children.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/EngineString.h"

struct UdfTypeMember {
    EngineString name;
    EngineString typeName;
    bool isArray = false;
    uint32_t count = 0;  // only when isArray
};

struct UdfTypeDef {
    EngineString name;
    std::vector<UdfTypeMember> members;
};

// "int", "real", "char" and "byte".
bool IsUdfBasicType(std::string_view typeName);
// 4 for "int" and "real", 1 for "char" and "byte", 0 for anything else.
uint32_t UdfBasicSize(std::string_view typeName);

class UdfTypeTable {
public:
    // Stores `def` under its name, replacing an earlier one of that name.
    void Add(UdfTypeDef def);
    void Clear();
    const UdfTypeDef* Find(std::string_view name) const;
    bool Empty() const { return types_.empty(); }

    // The sum of the members' sizes; a member of a structure type counts with that structure's
    // size, one of an unknown type as 0, and an array member times its count. A type that
    // contains itself, or nests deeper than any sane file, counts its inner self as 0; sizes
    // stop at 2^32 - 1.
    uint32_t StructSize(std::string_view name) const;
    uint32_t MemberSize(const UdfTypeMember& member) const;

private:
    uint32_t ElementSize(std::string_view typeName, int depth) const;
    uint32_t StructSizeAt(std::string_view name, int depth) const;
    uint32_t MemberSizeAt(const UdfTypeMember& member, int depth) const;

    std::map<std::string, UdfTypeDef, std::less<>> types_;
    // Computed sizes. A type being computed is already here, as 0.
    mutable std::map<std::string, uint32_t, std::less<>> sizes_;
};
