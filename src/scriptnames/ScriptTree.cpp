#include "scriptnames/ScriptTree.h"

#include <algorithm>

namespace kalvion::names {

void TScriptTree::Clear()
{
    FNodes.clear();
    FTop.clear();
    FLive = 0;
    FFull = false;
}

TTreeSink::NodeId TScriptTree::AddNode(NodeId parent, const std::string &text, TStellarBody *body)
{
    TScriptTreeNode *p = nullptr;
    if (parent != ROOT) {
        p = Node(parent);
        if (!p)
            return INVALID;
    }
    if (FNodes.size() >= MAX_NODES) {
        FFull = true;
        return INVALID;
    }
    auto node = std::make_unique<TScriptTreeNode>();
    node->Tree = this;
    node->Id = static_cast<NodeId>(FNodes.size());
    node->Parent = p ? parent : ROOT;
    node->Level = p ? p->Level + 1 : 0;
    node->Text = text;
    if (body && FBodyRef)
        node->Body = FBodyRef(body);
    (p ? p->Children : FTop).push_back(node->Id);
    FNodes.push_back(std::move(node));
    ++FLive;
    return FNodes.back()->Id;
}

void TScriptTree::CollapseAll()
{
    for (auto &n : FNodes)
        if (n)
            n->Expanded = false;
}

void TScriptTree::Expand(NodeId node)
{
    if (TScriptTreeNode *n = Node(node))
        n->Expanded = true;
}

TScriptTreeNode *TScriptTree::Node(NodeId id) const
{
    if (id < 0 || static_cast<std::size_t>(id) >= FNodes.size())
        return nullptr;
    return FNodes[static_cast<std::size_t>(id)].get();
}

void TScriptTree::Delete(NodeId id)
{
    TScriptTreeNode *n = Node(id);
    if (!n)
        return;
    std::vector<NodeId> &siblings = n->Parent == ROOT ? FTop : Node(n->Parent)->Children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
    // Without recursion: a script may have made a very deep tree.
    std::vector<NodeId> doomed{id};
    while (!doomed.empty()) {
        const NodeId d = doomed.back();
        doomed.pop_back();
        auto &slot = FNodes[static_cast<std::size_t>(d)];
        doomed.insert(doomed.end(), slot->Children.begin(), slot->Children.end());
        slot.reset();
        --FLive;
    }
}

bool TScriptTree::Outline(std::string &text) const
{
    text.clear();
    std::vector<NodeId> pending(FTop.rbegin(), FTop.rend());
    while (!pending.empty()) {
        const TScriptTreeNode *n = Node(pending.back());
        pending.pop_back();
        if (!n)
            continue;
        const std::size_t indent = static_cast<std::size_t>(n->Level) * 2;
        if (text.size() + indent + n->Text.size() + 2 > MAX_TEXT_BYTES)
            return false;
        text.append(indent, ' ');
        text += n->Text;
        text += "\r\n";
        pending.insert(pending.end(), n->Children.rbegin(), n->Children.rend());
    }
    return true;
}

} // namespace kalvion::names
