#pragma once
// Lines of a stream read in chunks, holding only the line at hand.  A line
// longer than the bound is reported as overlong (without its bytes), so a
// file of any size, or one without line ends, costs no more than the bound.
#include <cstddef>
#include <string>
#include <string_view>

namespace kalvion {

class TBoundedLineSplitter {
public:
    explicit TBoundedLineSplitter(std::size_t maxLine) : MaxLine_(maxLine) {}

    // Calls onLine(line, overlong) for every line the chunk completes; the
    // "\n" is not part of the line (a "\r" before it is left to the caller).
    template <typename F>
    void Feed(std::string_view chunk, F &&onLine)
    {
        while (!chunk.empty()) {
            const std::size_t end = chunk.find('\n');
            const std::string_view piece = chunk.substr(0, end);
            if (!Overlong_ && Line_.size() + piece.size() > MaxLine_) {
                Overlong_ = true;
                Line_.clear();
            }
            if (!Overlong_)
                Line_.append(piece);
            if (end == std::string_view::npos)
                return;
            chunk.remove_prefix(end + 1);
            Emit(onLine);
        }
    }

    // The last line, when the stream did not end with a line end.
    template <typename F>
    void Finish(F &&onLine)
    {
        if (!Line_.empty() || Overlong_)
            Emit(onLine);
    }

private:
    template <typename F>
    void Emit(F &onLine)
    {
        onLine(Overlong_ ? std::string_view() : std::string_view(Line_), Overlong_);
        Line_.clear();
        Overlong_ = false;
    }

    std::size_t MaxLine_;
    std::string Line_;
    bool Overlong_ = false;
};

} // namespace kalvion
