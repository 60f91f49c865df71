#include "udf/UdfWriter.h"

#include <memory>

#include "resources/DiskStream.h"
#include "resources/MemoryStream.h"

namespace {

constexpr char kMagic[] = "UDF Binary 1.0";
constexpr char kPlaceholder[8] = {'D', 'a', 't', 'a', 'A', 'r', 'e', 'a'};  // for a link never resolved

}  // namespace

bool UdfWriter::Save(const char* path, const std::vector<UdfNode*>& topNodes,
                     const std::vector<UdfTypeDef>* typeDefs, uint32_t flags) {
    written_.clear();
    linkFixups_.clear();
    lengthFixups_.clear();
    std::unique_ptr<DataStream> out;
    if (flags & kInMemory) {
        out = std::make_unique<MemoryStream>();
    } else {
        out = std::make_unique<DiskStream>();
    }
    if (!out->Open(path, DataStream::kWrite)) return false;
    out_ = out.get();

    bool ok = out_->WriteU32(0) && WriteString(kMagic) && WriteTypeTable(typeDefs);
    if (ok && !topNodes.empty()) {
        UdfNode root;
        root.SetName("_root");
        root.SetTypeName("_roottype");
        root.SetFlags(UdfNode::kStruct);
        std::vector<std::pair<UdfNode*, UdfNode*>> parents;  // node, its own parent
        for (UdfNode* node : topNodes) {
            UdfNode* parent = node ? node->Parent() : nullptr;
            if (root.Attach(node, false)) parents.emplace_back(node, parent);
        }
        const uint32_t rootPosition = out_->Tell();
        ok = out_->WriteU32(0);
        if (ok && WriteNode(root)) {
            const uint32_t end = out_->Tell();
            lengthFixups_.push_back({rootPosition, 1, end - rootPosition, 0});
            lengthFixups_.push_back({0, 1, end, 0});
            ok = ApplyFixups();
        } else {
            ok = false;
        }
        for (const auto& [node, parent] : parents) {
            root.Detach(node);
            node->SetParent(parent);
        }
    }
    if (flags & kInMemory) {
        DiskStream disk;
        ok = disk.Open(path, DataStream::kWrite) && static_cast<MemoryStream*>(out_)->CopyWrittenTo(disk) &&
             disk.Close() && ok;
    }
    ok = out_->Close() && ok;
    out_ = nullptr;
    return ok;
}

bool UdfWriter::WriteString(const EngineString& text) {
    return out_->WriteU32(text.length()) && (text.empty() || out_->Write(text.c_str(), text.length()) != 0);
}

bool UdfWriter::WriteTypeTable(const std::vector<UdfTypeDef>* typeDefs) {
    if (!typeDefs) return out_->WriteU32(0);
    bool ok = out_->WriteU32(static_cast<uint32_t>(typeDefs->size()));
    for (const UdfTypeDef& def : *typeDefs) {
        ok = ok && WriteString(def.name) && out_->WriteU32(static_cast<uint32_t>(def.members.size()));
        for (const UdfTypeMember& member : def.members) {
            ok = ok && WriteString(member.name) && WriteString(member.typeName) && out_->WriteU8(member.isArray);
            if (member.isArray) ok = ok && out_->WriteU32(member.count);
        }
    }
    return ok;
}

bool UdfWriter::WriteNode(const UdfNode& node) {
    const uint32_t begin = out_->Tell();
    bool ok = true;
    if (node.Flags() & UdfNode::kStruct) {
        const uint32_t directory = out_->Tell();
        ok = out_->WriteU32(0) && out_->WriteU32(node.ChildCount());
        for (const auto& entry : node.Children()) {
            const UdfNode& child = *entry.node;
            const uint8_t flags = (child.Flags() & ~uint8_t{UdfNode::kLink}) | (entry.linked ? UdfNode::kLink : 0);
            ok = ok && WriteString(entry.name) && WriteString(child.TypeName()) && out_->WriteU8(flags);
            if (flags & UdfNode::kArray) ok = ok && out_->WriteU32(child.Count());
            const auto area = written_.find(&child);
            if (area != written_.end()) {
                ok = ok && out_->WriteU32(area->second.first) && out_->WriteU32(area->second.second);
            } else {
                linkFixups_.emplace_back(out_->Tell(), &child);
                ok = ok && out_->WriteAll(kPlaceholder, sizeof kPlaceholder);
            }
        }
        lengthFixups_.push_back({directory, 1, out_->Tell() - directory, 0});
        for (const auto& entry : node.Children()) {
            if (!ok) return false;
            if (!entry.linked) ok = WriteNode(*entry.node);
        }
    } else if (node.Size() > 0 && node.DataPresent() && node.Data()) {
        // A leaf without bytes in memory (never loaded) writes an empty area.
        ok = out_->WriteAll(node.Data(), node.Size());
    }
    written_[&node] = {begin, out_->Tell() - begin};
    return ok;
}

bool UdfWriter::ApplyFixups() {
    bool ok = true;
    for (const auto& [position, node] : linkFixups_) {
        const auto area = written_.find(node);
        if (area == written_.end()) continue;
        if (!out_->Seek(position, DataStream::kFromStart)) {
            ok = false;
            continue;
        }
        ok = out_->WriteU32(area->second.first) && out_->WriteU32(area->second.second) && ok;
    }
    for (const LengthFixup& fixup : lengthFixups_) {
        if (!out_->Seek(fixup.position, DataStream::kFromStart)) {
            ok = false;
            continue;
        }
        ok = out_->WriteU32(fixup.first) && (fixup.count < 2 || out_->WriteU32(fixup.second)) && ok;
    }
    return ok;
}
