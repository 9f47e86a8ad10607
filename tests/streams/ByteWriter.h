#pragma once
// Builds older-file bytes by hand, independently of the stream writer, so the
// readers are checked against the layouts rather than against themselves.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct ByteWriter {
    std::vector<std::uint8_t> b;

    ByteWriter &i32(std::int32_t v)
    {
        for (int k = 0; k < 4; ++k)
            b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
        return *this;
    }
    ByteWriter &i64(std::int64_t v)
    {
        for (int k = 0; k < 8; ++k)
            b.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * k)));
        return *this;
    }
    ByteWriter &f64(double v)
    {
        std::uint64_t u;
        std::memcpy(&u, &v, 8);
        return i64(static_cast<std::int64_t>(u));
    }
    ByteWriter &boolean(bool v) { return i32(v ? 0 : 1); }
    ByteWriter &str(const std::string &s)
    {
        i32(static_cast<std::int32_t>(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    ByteWriter &raw(std::initializer_list<int> bytes)
    {
        for (int v : bytes)
            b.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    std::size_t size() const { return b.size(); }
    void patch64(std::size_t at, std::int64_t v)
    {
        for (int k = 0; k < 8; ++k)
            b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * k));
    }
    void patch32(std::size_t at, std::int32_t v)
    {
        for (int k = 0; k < 4; ++k)
            b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k));
    }
};
