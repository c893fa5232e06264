#include "mp4/fileparser.h"

#include <algorithm>

void CFileParser::FindNodesIn(NodeList&, const std::vector<FileNode>&, std::string_view) {}

void CFileParser::FindNodes(NodeList& out, std::string_view type) {
    FindNodesIn(out, rootNodes, type);
}

bool CFileParser::Open(const std::filesystem::path&) {
    return false;
}

bool CFileParser::ReadBytes(std::int64_t, std::span<std::uint8_t>) {
    return false;
}

std::optional<std::uint32_t> CFileParser::ReadInt32(std::int64_t) {
    return std::nullopt;
}

bool CFileParser::IsValidStructure(const std::vector<FileNode>&) {
    return false;
}

bool CFileParser::ParseNodes(std::int64_t, std::vector<FileNode>&, std::int64_t, std::int32_t) {
    return false;
}

const std::vector<FileNode>& CFileParser::ChildrenOf(const FileNode& node) {
    if (!node.childrenBuilt_) {
        node.childrenBuilt_ = true;
        if (node.Depth() < limits_.maxDepth) {
            ParseNodes(node.PayloadOffset(), node.children, node.End(), node.Depth() + 1);
        }
    }
    return node.children;
}

NodeList CFileParser::FindNodesBelow(const FileNode& node, std::string_view type) {
    NodeList out;
    FindNodesIn(out, ChildrenOf(node), type);
    return out;
}

NodeList CFileParser::FindChildNodes(const FileNode& node, std::string_view type) {
    NodeList out;
    for (const FileNode& child : ChildrenOf(node)) {
        if (child.type == type) {
            out.push_back(&child);
        }
    }
    return out;
}

bool CFileParser::HasChildNode(const FileNode& node, std::string_view type) {
    const std::vector<FileNode>& children = ChildrenOf(node);
    return std::any_of(children.begin(), children.end(),
                       [type](const FileNode& child) { return child.type == type; });
}

void CFileParser::Close() {
    rootNodes.clear();
    file.reset();
    fileSize = 0;
    nodeCount_ = 0;
}

bool CFileParser::Fail(std::string error) {
    lastError_ = std::move(error);
    return false;
}

bool CFileParser::TakeNodeBudget() {
    if (nodeCount_ >= limits_.maxNodes) {
        return false;
    }
    ++nodeCount_;
    return true;
}
