#pragma once
// The byte form of model state that the edit history keeps.  Only this
// program in this run reads it back, so it is plain native-endian values
// with no versioning; a reader past the end reads zeros and says so.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace kalvion {

class TStateWriter {
public:
    explicit TStateWriter(std::string &out) : FOut(out) {}
    template <class T>
    void Put(T value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        const auto *p = reinterpret_cast<const char *>(&value);
        FOut.append(p, sizeof(T));
    }
    void Text(std::string_view text)
    {
        Put(static_cast<std::uint32_t>(text.size()));
        FOut.append(text.data(), text.size());
    }

private:
    std::string &FOut;
};

class TStateReader {
public:
    explicit TStateReader(std::string_view in) : FIn(in) {}
    template <class T>
    T Get()
    {
        static_assert(std::is_trivially_copyable_v<T>);
        T value{};
        if (FIn.size() - FPos < sizeof(T)) {
            FFailed = true;
            FPos = FIn.size();
            return value;
        }
        std::memcpy(&value, FIn.data() + FPos, sizeof(T));
        FPos += sizeof(T);
        return value;
    }
    std::string_view Text()
    {
        const auto n = Get<std::uint32_t>();
        if (FIn.size() - FPos < n) {
            FFailed = true;
            FPos = FIn.size();
            return {};
        }
        std::string_view s = FIn.substr(FPos, n);
        FPos += n;
        return s;
    }
    bool AtEnd() const { return FPos >= FIn.size(); }
    bool Failed() const { return FFailed; }

private:
    std::string_view FIn;
    std::size_t FPos = 0;
    bool FFailed = false;
};

} // namespace kalvion
