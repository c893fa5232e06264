#pragma once

#include "mp4/bytesource.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One box of a container file: its four type bytes, where its 8-byte header starts and its total
// size, header included. Offsets and sizes are 32-bit because files of 2 GiB and more are
// refused. The children are built by the parser that made the node, the first time a search
// needs them (CFileParser::ChildrenOf); nodes never move once their parent's children are built,
// so pointers returned by searches stay valid for the parser's life.
class FileNode {
public:
    FileNode(std::string nodeType, std::int32_t nodeOffset, std::int32_t nodeSize,
             std::int32_t nodeDepth)
        : type(std::move(nodeType)), offset(nodeOffset), size(nodeSize), depth_(nodeDepth) {}

    std::int64_t End() const { return std::int64_t{offset} + size; }
    std::int64_t PayloadOffset() const { return std::int64_t{offset} + 8; }
    // 0 for the top level.
    std::int32_t Depth() const { return depth_; }

    std::string type;     // the four type bytes, one character each
    std::int32_t offset;  // file offset of the header
    std::int32_t size;    // total size, header included

private:
    friend class CFileParser;

    // Filled lazily by CFileParser::ChildrenOf, hence mutable: reached through const nodes.
    mutable std::vector<FileNode> children;
    mutable bool childrenBuilt_ = false;
    std::int32_t depth_;
};

using NodeList = std::vector<const FileNode*>;

// Bounds that keep a hostile file from exhausting the stack or memory. Real recordings nest
// about ten levels deep and hold a few thousand boxes.
struct TreeLimits {
    std::int32_t maxDepth = 32;       // nodes at this depth get no children
    std::int32_t maxNodes = 1 << 20;  // the walk creates no node beyond this count
};

// Base of the container readers: an open file, its size and the tree of its boxes. The base
// versions of the operations find nothing and read nothing; a format reader overrides them.
// A parser and its nodes are used by one thread at a time: searches build children on demand.
class CFileParser {
public:
    explicit CFileParser(TreeLimits limits = {}) : limits_(limits) {}
    virtual ~CFileParser() = default;
    CFileParser(const CFileParser&) = delete;
    CFileParser& operator=(const CFileParser&) = delete;

    // Appends to `out`, depth first in file order, every node of `nodes` and below whose type is
    // `type`; the children of a match are not searched, so only outermost matches appear.
    virtual void FindNodesIn(NodeList& out, const std::vector<FileNode>& nodes,
                             std::string_view type);
    // FindNodesIn over the whole tree.
    virtual void FindNodes(NodeList& out, std::string_view type);
    // Opens and checks a file; false with LastError() set when it is refused.
    virtual bool Open(const std::filesystem::path& path);
    // Fills `buffer` with the bytes at `offset`; false when they do not all lie in the file.
    virtual bool ReadBytes(std::int64_t offset, std::span<std::uint8_t> buffer);
    // The big-endian 32-bit value at `offset`; empty when fewer than 4 bytes lie there.
    virtual std::optional<std::uint32_t> ReadInt32(std::int64_t offset);
    // Whether the top-level nodes look like a file of this format.
    virtual bool IsValidStructure(const std::vector<FileNode>& nodes);
    // Appends the nodes found between `start` and `end` to `nodes`, giving them `depth`.
    virtual bool ParseNodes(std::int64_t start, std::vector<FileNode>& nodes, std::int64_t end,
                            std::int32_t depth);

    // The direct children of `node`, built on the first call.
    const std::vector<FileNode>& ChildrenOf(const FileNode& node);
    // FindNodesIn over the children of `node` (everything below it, outermost matches).
    NodeList FindNodesBelow(const FileNode& node, std::string_view type);
    // The direct children of `node` whose type is `type`, in order.
    NodeList FindChildNodes(const FileNode& node, std::string_view type);
    bool HasChildNode(const FileNode& node, std::string_view type);

    std::int32_t FileSize() const { return fileSize; }
    const std::vector<FileNode>& RootNodes() const { return rootNodes; }
    // Why the last Open failed.
    const std::string& LastError() const { return lastError_; }

protected:
    // Forgets the file and the tree.
    void Close();
    bool Fail(std::string error);
    // Counts one more node against the limit; false once it is reached.
    bool TakeNodeBudget();

    std::unique_ptr<ByteSource> file;  // null while closed
    std::int32_t fileSize = 0;
    std::vector<FileNode> rootNodes;

private:
    TreeLimits limits_;
    std::int32_t nodeCount_ = 0;
    std::string lastError_;
};
