#pragma once
// Model code that fills a tree writes to this sink; the window adapts it to
// its tree widget and tests record what arrives.
#include <string>

namespace kalvion {

class TStellarBody;

class TTreeSink {
public:
    using NodeId = int;
    static constexpr NodeId ROOT = -1;

    virtual ~TTreeSink() = default;
    virtual void Clear() = 0;
    // Adds a node under parent (ROOT for a top node) and returns its id.
    virtual NodeId AddNode(NodeId parent, const std::string &text, TStellarBody *body) = 0;
    virtual void CollapseAll() = 0;
    virtual void Expand(NodeId node) = 0;
};

} // namespace kalvion
