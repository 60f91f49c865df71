#pragma once
// Reads the binary form of the data format. Opening reads the header and gives the root; nodes
// then load on demand, a whole tree at once or subtree by subtree. Entries with the same file
// offset load as one shared node.
//
// The reader does not trust the file: every length, count, offset and size is checked against
// the bytes the stream holds, so a damaged file gives no root or damaged but safe nodes. Nodes
// refer to their reader, which must outlive every load.

#include <cstdint>
#include <memory>
#include "resources/DataStream.h"
#include "udf/FlatIndex.h"
#include "udf/UdfNode.h"
#include "udf/UdfTypeDef.h"

class UdfReader {
public:
    // Mode bits of LoadNode.
    enum Mode : uint32_t {
        kNoDescend = 0x01,       // do not descend into children
        kOneLevel = 0x04,        // the children get kNoDescend
        kExpand = 0x08,          // run ExpandLeaf after reading a leaf
        kReadWhole = 0x10,       // read the node's area with one read and parse it from memory
        kFromParent = 0x20,      // take the bytes from the parent's area when it holds it
        kKeepArea = 0x40,        // keep the area as the node's data; the children get kFromParent
        kPointIntoParent = 0x80  // a leaf points into its parent's area instead of copying
    };
    // Flags of ExpandLeaf.
    enum Expand : uint32_t {
        kExpandBasicArrays = 0x01,  // also Array leaves of a basic type
        kExpandShare = 0x02,        // children point into the leaf's bytes
        kExpandOneLevel = 0x04      // do not expand the new children in turn
    };

    UdfReader() = default;
    UdfReader(const UdfReader&) = delete;
    UdfReader& operator=(const UdfReader&) = delete;
    virtual ~UdfReader() { UdfReader::Close(); }

    // Reads from a stream the caller owns (and keeps open until the reader closes).
    std::unique_ptr<UdfNode> OpenStream(DataStream& stream);
    // Reads the bytes in place; they must outlive the reader.
    std::unique_ptr<UdfNode> OpenMemory(const uint8_t* data, uint32_t size);

    // Closes the stream (deleting it when the reader made it). Loaded nodes keep their data;
    // the others can no longer load.
    virtual void Close();
    // Reads the header and type table; null when the magic or header is wrong (the reader then
    // closes).
    virtual std::unique_ptr<UdfNode> OpenRoot();
    // Loads `node` with the mode bits above; false when the reader is closed.
    virtual bool LoadNode(UdfNode& node, uint32_t mode, uint32_t expandFlags);
    virtual bool ReadTypeTable();
    // Turns a leaf holding a whole structure (or, with kExpandBasicArrays, an array of basic
    // values) into children over slices of its bytes; false when something did not fit or the
    // expansion work allowed for the file's size is spent.
    virtual bool ExpandLeaf(UdfNode& node, uint32_t flags);

    const UdfTypeTable& TypeTable() const { return types_; }

private:
    class Source;
    struct LoadPass;

    bool LoadAt(UdfNode& node, uint32_t mode, uint32_t expandFlags, LoadPass& pass, int depth, bool viaLink);
    void ReadDirectory(UdfNode& node, Source& source);
    void AddEntry(UdfNode& node, std::unique_ptr<UdfNode> entry, bool linked);
    bool ExpandAt(UdfNode& node, uint32_t flags, int depth);
    // Takes `size` bytes of node data or area from the load's allowance; false, and nothing
    // taken, past it.
    bool SpendData(uint32_t size);

    DataStream* stream_ = nullptr;
    std::unique_ptr<DataStream> ownedStream_;
    uint32_t streamEnd_ = 0;
    UdfTypeTable types_;
    FlatIndex<uint32_t, UdfNode*> offsetMap_;
    UdfNode* root_ = nullptr;
    // Directory entries still allowed: a sound file holds at most one per 17 bytes, so a damaged
    // one cannot make the reader parse the same bytes over and over.
    uint64_t entryBudget_ = 0;
    // Nodes and copied bytes leaf expansion may still make (see kExpandWorkPerByte).
    uint64_t expandBudget_ = 0;
    // Bytes of node data and areas loads may still read or copy (see kDataWorkPerByte).
    uint64_t dataBudget_ = 0;
};
