#pragma once
// TCompactList: a list member that costs one pointer while it is empty.
// Most bodies have no user fields and many no gas list; a std::vector spends
// 24 bytes on each even then.  The list is made on the first insertion and
// reads like the vector it holds.
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

namespace kalvion {

template <class T>
class TCompactList {
public:
    using value_type = T;
    using iterator = T *;
    using const_iterator = const T *;

    TCompactList() noexcept = default;
    TCompactList(std::initializer_list<T> items) { *this = items; }
    TCompactList(const TCompactList &other) { *this = other; }
    TCompactList(TCompactList &&) noexcept = default;
    ~TCompactList() = default;
    TCompactList &operator=(const TCompactList &other)
    {
        if (this != &other) {
            if (other.empty())
                FList.reset();
            else
                FList = std::make_unique<std::vector<T>>(*other.FList);
        }
        return *this;
    }
    TCompactList &operator=(TCompactList &&) noexcept = default;
    TCompactList &operator=(std::initializer_list<T> items)
    {
        if (items.size() == 0)
            FList.reset();
        else
            FList = std::make_unique<std::vector<T>>(items);
        return *this;
    }

    bool empty() const noexcept { return !FList || FList->empty(); }
    std::size_t size() const noexcept { return FList ? FList->size() : 0; }
    T &operator[](std::size_t i) { return (*FList)[i]; }
    const T &operator[](std::size_t i) const { return (*FList)[i]; }
    T *begin() noexcept { return FList ? FList->data() : nullptr; }
    T *end() noexcept { return FList ? FList->data() + FList->size() : nullptr; }
    const T *begin() const noexcept { return FList ? FList->data() : nullptr; }
    const T *end() const noexcept { return FList ? FList->data() + FList->size() : nullptr; }
    void push_back(T item) { List().push_back(std::move(item)); }
    void resize(std::size_t count)
    {
        if (count == 0)
            FList.reset();
        else
            List().resize(count);
    }
    // Frees the list: an emptied list costs no more than one never filled.
    void clear() noexcept { FList.reset(); }
    // The items as a vector, for code written against one.
    const std::vector<T> &vec() const { return FList ? *FList : Empty(); }

private:
    std::vector<T> &List()
    {
        if (!FList)
            FList = std::make_unique<std::vector<T>>();
        return *FList;
    }
    static const std::vector<T> &Empty()
    {
        static const std::vector<T> none;
        return none;
    }
    std::unique_ptr<std::vector<T>> FList;
};

} // namespace kalvion
