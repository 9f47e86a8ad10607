#pragma once
// A tree sink that keeps what the model wrote, for assertions.
#include "model/TreeSink.h"

#include <string>
#include <vector>

namespace kalvion::test {

class TRecordingTree : public TTreeSink {
public:
    struct Node {
        NodeId Parent;
        std::string Text;
        TStellarBody *Body;
        bool Expanded = false;
    };
    std::vector<Node> Nodes;
    int Clears = 0;
    int Collapses = 0;

    void Clear() override
    {
        Nodes.clear();
        ++Clears;
    }
    NodeId AddNode(NodeId parent, const std::string &text, TStellarBody *body) override
    {
        Nodes.push_back({parent, text, body});
        return static_cast<NodeId>(Nodes.size()) - 1;
    }
    void CollapseAll() override
    {
        ++Collapses;
        for (Node &n : Nodes)
            n.Expanded = false;
    }
    void Expand(NodeId node) override { Nodes.at(static_cast<std::size_t>(node)).Expanded = true; }

    // The texts of the direct children of a node, in order.
    std::vector<std::string> ChildTexts(NodeId parent) const
    {
        std::vector<std::string> out;
        for (const Node &n : Nodes)
            if (n.Parent == parent)
                out.push_back(n.Text);
        return out;
    }
    NodeId Find(const std::string &text) const
    {
        for (std::size_t i = 0; i < Nodes.size(); ++i)
            if (Nodes[i].Text == text)
                return static_cast<NodeId>(i);
        return -2;
    }
};

} // namespace kalvion::test
