#include "udf/UdfReader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>
#include <utility>

#include "resources/MemoryStream.h"

namespace {

constexpr std::string_view kMagic = "UDF Binary 1.0";
constexpr uint32_t kSmallestEntry = 17;  // two empty strings, flags, offset and size
// Deeper nodes stay unloaded; no real file comes near. Keeps the recursion off the stack's end.
constexpr int kMaxLoadDepth = 200;
constexpr int kMaxExpandDepth = 64;
// Leaf expansion may make this many nodes plus copied bytes per byte of the file (and a fixed
// allowance for small files). Real files make a few per byte: a byte array makes one node per
// byte at each of a handful of levels. Damaged ones can nest empty members without end.
constexpr uint64_t kExpandWorkPerByte = 16;
constexpr uint64_t kExpandWorkBase = 1024;
// Bytes a load may read or copy for node data and areas, per byte of the file (and a fixed
// allowance). Each level of a real tree reads its bytes once; overlapping areas in a damaged
// file would read the whole file once per entry.
constexpr uint64_t kDataWorkPerByte = 64;
constexpr uint64_t kDataWorkBase = 1 << 20;

// Whether `node`'s area lies inside the bytes its parent holds. A node's parent is its owner,
// where it is never linked.
bool InParentData(const UdfNode& node) {
    const UdfNode* parent = node.Parent();
    if (!parent || !parent->DataPresent() || !parent->Data()) return false;
    const uint64_t start = parent->FileOffset();
    const uint64_t end = start + parent->Size();
    return node.FileOffset() >= start && uint64_t{node.FileOffset()} + node.Size() <= end;
}

const uint8_t* SliceInParent(const UdfNode& node) {
    return node.Parent()->Data() + (node.FileOffset() - node.Parent()->FileOffset());
}

std::unique_ptr<uint8_t[]> CopyOf(const uint8_t* bytes, uint32_t size) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size]);
    if (size > 0) std::memcpy(copy.get(), bytes, size);
    return copy;
}

bool IsAncestorOrSelf(const UdfNode* candidate, const UdfNode* node) {
    for (; node; node = node->Parent()) {
        if (node == candidate) return true;
    }
    return false;
}

}  // namespace

// Reads through a stream, never outside [begin, end) in file offsets.
class UdfReader::Source {
public:
    Source(DataStream& stream, uint32_t begin, uint32_t end, uint32_t position)
        : stream_(&stream), begin_(begin), end_(end), position_(position) {}

    bool Fits(uint32_t offset, uint32_t size) const {
        return offset >= begin_ && offset <= end_ && size <= end_ - offset;
    }
    bool Seek(uint32_t offset) {
        if (!Fits(offset, 0) || !stream_->Seek(offset, DataStream::kFromStart)) return false;
        position_ = offset;
        return true;
    }
    bool Read(void* out, uint32_t size) {
        if (!Fits(position_, size)) return false;
        if (!stream_->ReadAll(out, size)) return false;
        position_ += size;
        return true;
    }
    bool ReadU32(uint32_t& value) { return Fits(position_, 4) && stream_->ReadU32(value) && Advance(4); }
    bool ReadU8(uint8_t& value) { return Fits(position_, 1) && stream_->ReadU8(value) && Advance(1); }
    bool ReadString(EngineString& text) {
        uint32_t length = 0;
        return ReadU32(length) && Fits(position_, length) && stream_->ReadText(text, length) && Advance(length);
    }
    // The `size` bytes at `offset` in a new block.
    std::unique_ptr<uint8_t[]> ReadArea(uint32_t offset, uint32_t size) {
        std::unique_ptr<uint8_t[]> bytes;
        if (!Fits(offset, size) || !Seek(offset)) return bytes;
        bytes.reset(new uint8_t[size]);
        if (!Read(bytes.get(), size)) bytes.reset();
        return bytes;
    }

private:
    bool Advance(uint32_t n) {
        position_ += n;
        return true;
    }

    DataStream* stream_;
    uint32_t begin_;
    uint32_t end_;
    uint32_t position_;
};

// The (node, mode) pairs one LoadNode call has reached through links: loading them again would
// change nothing, and a cycle of links would never end. Owned children form a tree, so only
// links can lead back.
struct UdfReader::LoadPass {
    std::set<std::pair<const UdfNode*, uint32_t>> done;
};

std::unique_ptr<UdfNode> UdfReader::OpenStream(DataStream& stream) {
    Close();
    stream_ = &stream;
    return OpenRoot();
}

std::unique_ptr<UdfNode> UdfReader::OpenMemory(const uint8_t* data, uint32_t size) {
    Close();
    auto memory = std::make_unique<MemoryStream>();
    memory->Refer(data, size);
    memory->Open(nullptr, DataStream::kRead);
    ownedStream_ = std::move(memory);
    stream_ = ownedStream_.get();
    return OpenRoot();
}

void UdfReader::Close() {
    if (stream_) stream_->Close();
    ownedStream_.reset();
    stream_ = nullptr;
    offsetMap_.Clear();
    root_ = nullptr;
}

std::unique_ptr<UdfNode> UdfReader::OpenRoot() {
    if (!stream_) return nullptr;
    offsetMap_.Clear();
    types_.Clear();
    root_ = nullptr;
    streamEnd_ = stream_->Size();
    entryBudget_ = streamEnd_ / kSmallestEntry + 1;
    expandBudget_ = kExpandWorkBase + kExpandWorkPerByte * streamEnd_;
    dataBudget_ = kDataWorkBase + kDataWorkPerByte * streamEnd_;
    Source source(*stream_, 0, streamEnd_, stream_->Tell());
    uint32_t totalLength = 0;
    EngineString magic;
    if (!source.ReadU32(totalLength) || !source.ReadString(magic) || magic.view() != kMagic) {
        Close();
        return nullptr;
    }
    uint32_t rootLength = 0;
    if (!ReadTypeTable() || !Source(*stream_, 0, streamEnd_, stream_->Tell()).ReadU32(rootLength)) {
        Close();
        return nullptr;
    }
    auto root = std::make_unique<UdfNode>();
    root->SetName("_root");
    root->SetTypeName("_roottype");
    root->SetFlags(UdfNode::kStruct);
    // The root length counts its own field, so the area it gives runs 4 bytes past the file:
    // clipped to the bytes there, the root's area can be read whole like any other.
    const uint32_t rootOffset = stream_->Tell();
    root->SetFileOffset(rootOffset);
    root->SetSize(rootOffset <= streamEnd_ ? std::min(rootLength, streamEnd_ - rootOffset) : 0);
    root->SetReader(this);
    root_ = root.get();
    return root;
}

bool UdfReader::ReadTypeTable() {
    if (!stream_) return false;
    Source source(*stream_, 0, streamEnd_, stream_->Tell());
    uint32_t count = 0;
    if (!source.ReadU32(count)) return false;
    for (uint32_t i = 0; i < count; ++i) {
        UdfTypeDef def;
        uint32_t members = 0;
        if (!source.ReadString(def.name) || !source.ReadU32(members)) return false;
        for (uint32_t m = 0; m < members; ++m) {
            UdfTypeMember member;
            uint8_t isArray = 0;
            if (!source.ReadString(member.name) || !source.ReadString(member.typeName) || !source.ReadU8(isArray)) {
                return false;
            }
            member.isArray = isArray != 0;
            if (member.isArray && !source.ReadU32(member.count)) return false;
            def.members.push_back(std::move(member));
        }
        types_.Add(std::move(def));
    }
    return true;
}

bool UdfReader::LoadNode(UdfNode& node, uint32_t mode, uint32_t expandFlags) {
    if (!stream_) return false;
    LoadPass pass;
    return LoadAt(node, mode, expandFlags, pass, 0, false);
}

bool UdfReader::LoadAt(UdfNode& node, uint32_t mode, uint32_t expandFlags, LoadPass& pass, int depth,
                       bool viaLink) {
    if (depth > kMaxLoadDepth || (viaLink && !pass.done.emplace(&node, mode).second)) return true;
    const bool isStruct = (node.Flags() & UdfNode::kStruct) != 0;

    // 1. Where the bytes come from: the stream, the parent's area, or this node's area read whole.
    // Only a directory or a leaf still without bytes reads from there.
    std::optional<MemoryStream> area;
    Source source(*stream_, 0, streamEnd_, 0);  // every use seeks first
    if ((mode & kFromParent) && InParentData(node)) {
        const UdfNode& parent = *node.Parent();
        if (!node.DataPresent()) {
            if (mode & kPointIntoParent) {
                node.ReferToData(SliceInParent(node), node.Size(), true);
            } else if ((mode & kKeepArea) && SpendData(node.Size())) {
                node.TakeData(CopyOf(SliceInParent(node), node.Size()), node.Size());
            }
        }
        if (isStruct || !node.DataPresent()) {
            area.emplace();
            area->Refer(parent.Data(), parent.Size());
            area->SetBaseOffset(parent.FileOffset());
            area->Open(nullptr, DataStream::kRead);
            source = Source(*area, parent.FileOffset(), parent.FileOffset() + parent.Size(), parent.FileOffset());
        }
    } else if ((mode & kReadWhole) || ((mode & kKeepArea) && !node.DataPresent())) {
        std::unique_ptr<uint8_t[]> bytes;
        if (SpendData(node.Size())) bytes = source.ReadArea(node.FileOffset(), node.Size());
        if (bytes && !isStruct) {
            // A leaf's area is all of its data: kept (0x40), or step 4 would only copy it again.
            if (!node.DataPresent() && ((mode & kKeepArea) || !node.Loaded())) node.TakeData(std::move(bytes), node.Size());
        } else if (bytes) {
            area.emplace();
            // Bytes a node holds already stay: its children may point into them.
            if ((mode & kKeepArea) && !node.DataPresent()) {
                area->Refer(bytes.get(), node.Size());
                node.TakeData(std::move(bytes), node.Size());
            } else {
                area->Adopt(std::move(bytes), node.Size());
            }
            area->SetBaseOffset(node.FileOffset());
            area->Open(nullptr, DataStream::kRead);
            source = Source(*area, node.FileOffset(), node.FileOffset() + node.Size(), node.FileOffset());
        }
    }
    // 2.
    node.SetReader(this);
    if (isStruct && !node.Loaded()) {
        // 3.
        ReadDirectory(node, source);
    } else if (!isStruct && !node.Loaded()) {
        // 4.
        if (!node.DataPresent()) {
            if ((mode & kPointIntoParent) && InParentData(node)) {
                node.ReferToData(SliceInParent(node), node.Size(), true);
            } else if (std::unique_ptr<uint8_t[]> bytes =
                           SpendData(node.Size()) ? source.ReadArea(node.FileOffset(), node.Size()) : nullptr) {
                node.TakeData(std::move(bytes), node.Size());
            }
        }
        node.SetLoaded(node.DataPresent());
    }
    // 5.
    if (mode & kExpand) ExpandLeaf(node, expandFlags);
    // 7. comes early: the children read from their own places, and nested areas need not pile up.
    area.reset();
    // 6.
    if ((node.Flags() & UdfNode::kStruct) && !(mode & kNoDescend)) {
        uint32_t childMode = mode;
        if (mode & kOneLevel) childMode = (childMode & ~uint32_t{kOneLevel}) | kNoDescend;
        if (mode & kKeepArea) childMode |= kFromParent;
        for (const auto& entry : node.Children()) {
            LoadAt(*entry.node, childMode, expandFlags, pass, depth + 1, entry.linked);
        }
    }
    return true;
}

void UdfReader::ReadDirectory(UdfNode& node, Source& source) {
    node.SetLoaded(true);
    uint32_t directorySize = 0;
    uint32_t count = 0;
    if (!source.Seek(node.FileOffset()) || !source.ReadU32(directorySize) || !source.ReadU32(count)) return;
    for (uint32_t i = 0; i < count && entryBudget_ > 0; ++i, --entryBudget_) {
        auto entry = std::make_unique<UdfNode>();
        EngineString name;
        EngineString typeName;
        uint8_t flags = 0;
        uint32_t elements = 0;
        uint32_t offset = 0;
        uint32_t size = 0;
        if (!source.ReadString(name) || !source.ReadString(typeName) || !source.ReadU8(flags) ||
            ((flags & UdfNode::kArray) && !source.ReadU32(elements)) || !source.ReadU32(offset) ||
            !source.ReadU32(size)) {
            return;
        }
        entry->SetName(std::move(name));
        entry->SetTypeName(std::move(typeName));
        entry->SetFlags(flags & ~uint8_t{UdfNode::kLink});
        entry->SetCount(elements);
        entry->SetFileOffset(offset);
        entry->SetSize(size);
        AddEntry(node, std::move(entry), (flags & UdfNode::kLink) != 0);
    }
}

void UdfReader::AddEntry(UdfNode& node, std::unique_ptr<UdfNode> entry, bool linked) {
    if (UdfNode* const* known = offsetMap_.Find(entry->FileOffset())) {
        UdfNode* shared = *known;
        if (linked) {
            node.Attach(shared, true);
            return;
        }
        // Only a node first reached through a link may be owned here; anything else (a node
        // owned elsewhere, this node or one above it) would be owned twice.
        if (shared->Parent() || IsAncestorOrSelf(shared, &node)) return;
        std::unique_ptr<UdfNode> adopted = root_->ReleaseKept(shared);
        if (adopted && node.Attach(adopted.get(), false)) {
            adopted.release();
        } else if (adopted) {
            root_->KeepAlive(std::move(adopted));
        }
        return;
    }
    entry->SetReader(this);
    if (!node.Attach(entry.get(), linked)) return;  // a name used twice
    if (entry->Size() != 0) offsetMap_.Insert(entry->FileOffset(), entry.get());
    if (linked) {
        root_->KeepAlive(std::move(entry));  // until an owning entry turns up
    } else {
        entry.release();
    }
}

bool UdfReader::SpendData(uint32_t size) {
    if (size > dataBudget_) {
        dataBudget_ = 0;
        return false;
    }
    dataBudget_ -= size;
    return true;
}

bool UdfReader::ExpandLeaf(UdfNode& node, uint32_t flags) { return ExpandAt(node, flags, 0); }

bool UdfReader::ExpandAt(UdfNode& node, uint32_t flags, int depth) {
    const std::string_view type = node.TypeName().view();
    const bool basic = IsUdfBasicType(type);
    if (basic && !((flags & kExpandBasicArrays) && (node.Flags() & UdfNode::kArray))) return true;
    if (node.Flags() & UdfNode::kStruct) return false;
    const UdfTypeDef* def = basic ? nullptr : types_.Find(type);
    if ((!basic && !def) || depth >= kMaxExpandDepth) return false;
    node.SetFlags(node.Flags() | UdfNode::kStruct);
    node.SetLoaded(true);

    bool result = true;
    bool exhausted = false;
    uint64_t at = 0;
    std::vector<UdfNode*> filled;
    // Gives the next slice of the leaf's bytes to a new child; false when it does not fit or the
    // file's allowance of expansion work is spent.
    const auto addChild = [&](EngineString name, EngineString typeName, uint32_t size, uint8_t childFlags,
                              uint32_t count) {
        const bool fits = size > 0 && node.DataPresent() && node.Data() && at + size <= node.Size();
        const uint64_t cost = 1 + (fits && !(flags & kExpandShare) ? uint64_t{size} : 0);
        if (cost > expandBudget_) {
            expandBudget_ = 0;
            exhausted = true;
            result = false;
            return false;
        }
        expandBudget_ -= cost;
        auto child = std::make_unique<UdfNode>();
        child->SetName(std::move(name));
        child->SetTypeName(std::move(typeName));
        child->SetFlags(childFlags);
        child->SetCount(count);
        child->SetLoaded(true);
        if (fits) {
            const uint8_t* slice = node.Data() + at;
            if (flags & kExpandShare) {
                child->ReferToData(slice, size, true);
            } else {
                child->TakeData(CopyOf(slice, size), size);
            }
        } else {
            result = false;
        }
        at += size;
        if (node.Attach(child.get(), false)) {
            if (fits) filled.push_back(child.get());
            child.release();
        }
        return fits;
    };
    if (node.Flags() & UdfNode::kArray) {
        const uint32_t element = basic ? UdfBasicSize(type) : types_.StructSize(type);
        // Elements stop at the first that does not fit: a damaged count cannot make millions.
        for (uint32_t i = 0; i < node.Count(); ++i) {
            if (!addChild(EngineString(i, 10), node.TypeName(), element, 0, 0)) break;
        }
    } else {
        for (const UdfTypeMember& member : def->members) {
            addChild(member.name, member.typeName, types_.MemberSize(member), member.isArray ? UdfNode::kArray : 0,
                     member.isArray ? member.count : 0);
            if (exhausted) break;
        }
    }
    // Only children that got their bytes expand: one without them could only repeat the failure.
    if (!(flags & kExpandOneLevel) && !exhausted) {
        for (UdfNode* child : filled) result = ExpandAt(*child, flags, depth + 1) && result;
    }
    return result;
}
