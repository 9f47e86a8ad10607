#pragma once
// The tree view a script makes (TTreeView.Create) and fills with the model's
// tree operations: it is their tree sink, and keeps what they add as nodes
// the script can walk.  Node references stay checked: a node removed from
// the tree, or a tree emptied or freed, leaves nil behind.
#include "model/TreeSink.h"
#include "scripting/ScriptValue.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvion::names {

class TScriptTree;

struct TScriptTreeNode {
    TScriptTree *Tree = nullptr;
    TTreeSink::NodeId Id = 0;
    TTreeSink::NodeId Parent = TTreeSink::ROOT;
    int Level = 0;
    std::string Text;
    TScriptObjectRef Body; // the body the node stands for, or nil
    bool Expanded = false;
    std::vector<TTreeSink::NodeId> Children;

    std::weak_ptr<void> LifetimeToken() const { return FLife; }

private:
    std::shared_ptr<int> FLife = std::make_shared<int>(0);
};

class TScriptTree final : public TTreeSink {
public:
    // A tree bigger than this is a runaway script, not a tree to read.
    static constexpr std::size_t MAX_NODES = 200000;
    // The longest text of the whole tree GetText gives.
    static constexpr std::size_t MAX_TEXT_BYTES = std::size_t(64) << 20;

    // bodyRef makes the checked script reference of a body a node stands for.
    explicit TScriptTree(std::function<TScriptObjectRef(TStellarBody *)> bodyRef) : FBodyRef(std::move(bodyRef)) {}

    void Clear() override;
    // Under a parent that is gone, or once the tree is full, nothing is
    // added and the id answered is INVALID (Full() then tells which).
    NodeId AddNode(NodeId parent, const std::string &text, TStellarBody *body) override;
    void CollapseAll() override;
    void Expand(NodeId node) override;

    static constexpr NodeId INVALID = -2;

    // The live node of an id; nullptr when there is none.
    TScriptTreeNode *Node(NodeId id) const;
    // Removes a node with everything under it.
    void Delete(NodeId id);
    const std::vector<NodeId> &TopNodes() const { return FTop; }
    std::size_t Count() const { return FLive; }
    // A fill met MAX_NODES since the last Clear.
    bool Full() const { return FFull; }
    // One line per node in tree order, two spaces of indent per level, each
    // line ending in CR LF; false when it would pass MAX_TEXT_BYTES.
    bool Outline(std::string &text) const;

private:
    std::function<TScriptObjectRef(TStellarBody *)> FBodyRef;
    std::vector<std::unique_ptr<TScriptTreeNode>> FNodes; // by id; nullptr once deleted
    std::vector<NodeId> FTop;
    std::size_t FLive = 0;
    bool FFull = false;
};

} // namespace kalvion::names
