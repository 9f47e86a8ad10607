#pragma once
// A W x H grid of 32-bit integers, row by row, with a clamp range.  Reads and
// writes wrap by one period in both directions, so a neighbour read at the
// left edge comes from the right edge and one at the north pole row from the
// south pole row (the terrain's smoothing relies on both).
#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace kalvion {

// Grid storage whose cells are left unset when the vector grows, so that a
// new grid is written once, by the workers that fill it, instead of being
// zeroed first on the calling thread.  It starts on a cache line, so workers
// writing neighbouring pieces of a row whose width is a multiple of 16 cells
// never share a line.
template <class T>
struct TUninitAllocator : std::allocator<T> {
    static constexpr std::align_val_t ALIGNMENT{64};
    template <class U>
    struct rebind {
        using other = TUninitAllocator<U>;
    };
    TUninitAllocator() = default;
    template <class U>
    TUninitAllocator(const TUninitAllocator<U> &) noexcept
    {
    }
    T *allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T *>(::operator new(n * sizeof(T), ALIGNMENT));
    }
    void deallocate(T *p, std::size_t) noexcept { ::operator delete(p, ALIGNMENT); }
    template <class U>
    void construct(U *p) noexcept
    {
        ::new (static_cast<void *>(p)) U;
    }
    template <class U, class... Args>
    void construct(U *p, Args &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
};
using TCellVector = std::vector<std::int32_t, TUninitAllocator<std::int32_t>>;

class TIntegerMatrix {
public:
    TIntegerMatrix() = default;
    // Non-positive sizes give an empty grid.  Every cell starts as `fill`,
    // written by `workers` threads.
    TIntegerMatrix(int width, int height, std::int32_t minValue, std::int32_t maxValue, std::int32_t fill = 0,
                   int workers = 1);
    // A grid whose cells are not set yet, for a caller that fills every cell
    // before anything reads one (several grids in one pass of workers).
    static TIntegerMatrix Unfilled(int width, int height, std::int32_t minValue, std::int32_t maxValue);

    int Width() const noexcept { return Width_; }
    int Height() const noexcept { return Height_; }
    std::int32_t MinRange() const noexcept { return Lo_; }
    std::int32_t MaxRange() const noexcept { return Hi_; }
    // Changing the range never re-clamps what is stored.
    void SetRange(std::int32_t minValue, std::int32_t maxValue) noexcept
    {
        Lo_ = minValue;
        Hi_ = maxValue;
    }

    std::int32_t Clamp(std::int64_t v) const noexcept
    {
        if (v < Lo_)
            return Lo_;
        if (v > Hi_)
            return Hi_;
        return static_cast<std::int32_t>(v);
    }

    // Wraps each coordinate by one period; still outside gives 0.
    std::int32_t Get(int c, int r) const noexcept
    {
        c = Wrap(c, Width_);
        r = Wrap(r, Height_);
        if (c < 0 || c >= Width_ || r < 0 || r >= Height_)
            return 0;
        return Cells_[Index(c, r)];
    }
    // Wraps like Get, clamps v to the range, writes only inside the grid.
    void Set(int c, int r, std::int64_t v) noexcept
    {
        c = Wrap(c, Width_);
        r = Wrap(r, Height_);
        if (c >= 0 && c < Width_ && r >= 0 && r < Height_)
            Cells_[Index(c, r)] = Clamp(v);
    }
    // Clamps v and writes without wrapping (outside the grid: nothing).
    void SetClamped(int c, int r, std::int64_t v) noexcept
    {
        if (c >= 0 && c < Width_ && r >= 0 && r < Height_)
            Cells_[Index(c, r)] = Clamp(v);
    }
    // Writes v as it is, without wrapping or clamping (world files, tests).
    void SetRaw(int c, int r, std::int32_t v) noexcept
    {
        if (c >= 0 && c < Width_ && r >= 0 && r < Height_)
            Cells_[Index(c, r)] = v;
    }
    std::int32_t GetOr(int c, int r, std::int32_t fallback) const noexcept
    {
        if (c < 0 || c >= Width_ || r < 0 || r >= Height_)
            return fallback;
        return Cells_[Index(c, r)];
    }

    // Fills every cell with v as it is.
    void Fill(std::int32_t v, int workers = 1);
    // Fills rows first … last with v.
    void FillRows(int firstRow, int lastRow, std::int32_t v) noexcept;
    // Largest and smallest stored value (0 for an empty grid).
    std::int32_t Max() const noexcept;
    std::int32_t Min() const noexcept;
    // Both at once, {Min, Max}, the rows scanned by `workers` threads.
    std::pair<std::int32_t, std::int32_t> MinMax(int workers = 1) const;

    // Maps [Min, Max] linearly onto [a, b], rounding half to even and writing
    // clamped; a = b or a flat grid makes every cell a.  The per-cell passes
    // below split their rows over `workers` threads with the same result.
    void Rescale(std::int32_t a, std::int32_t b, int workers = 1);
    // Every cell becomes round(sum(kernel * neighbour) / divisor) over its 3 x 3
    // neighbourhood (kernel row by row from the upper-left), read with Get from
    // the old values; the result is stored without clamping.
    void Smooth(const std::array<double, 9> &kernel, double divisor, int workers = 1);
    // Bends the profile: h >= 0 becomes round(sin(pi/2 h/Max) h), h < 0 becomes
    // round(sin(pi/2 h/Min) h).  Without positive (negative) values the
    // non-negative (negative) cells stay as they are.
    void ShapeCurve(int workers = 1);

    const TCellVector &Cells() const noexcept { return Cells_; }
    std::int32_t *RowData(int r) noexcept { return Cells_.data() + Index(0, r); }
    const std::int32_t *RowData(int r) const noexcept { return Cells_.data() + Index(0, r); }

private:
    static int Wrap(int v, int period) noexcept
    {
        if (v < 0)
            return v + period;
        if (v > period - 1)
            return v - period;
        return v;
    }
    std::size_t Index(int c, int r) const noexcept
    {
        return static_cast<std::size_t>(r) * static_cast<std::size_t>(Width_) + static_cast<std::size_t>(c);
    }

    int Width_ = 0;
    int Height_ = 0;
    std::int32_t Lo_ = INT32_MIN;
    std::int32_t Hi_ = INT32_MAX;
    TCellVector Cells_;
};

} // namespace kalvion
