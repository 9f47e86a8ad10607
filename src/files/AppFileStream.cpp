#include "files/AppFileStream.h"

#include "base/Guid.h"

#include <cstdio>
#include <cstring>

namespace kalvion {

namespace {

class FileStream : public TAppFileStream {
public:
    explicit FileStream(std::FILE *f) : FFile(f)
    {
        if (std::fseek(FFile, 0, SEEK_END) == 0)
            FSize = ftello(FFile);
        std::fseek(FFile, 0, SEEK_SET);
    }
    ~FileStream() override { std::fclose(FFile); }

    std::size_t Read(void *buffer, std::size_t count) override
    {
        const std::size_t n = std::fread(buffer, 1, count, FFile);
        FPos += static_cast<std::int64_t>(n);
        return n;
    }
    std::size_t Write(const void *buffer, std::size_t count) override
    {
        const std::size_t n = std::fwrite(buffer, 1, count, FFile);
        FPos += static_cast<std::int64_t>(n);
        if (FPos > FSize)
            FSize = FPos;
        return n;
    }
    std::int64_t Seek(std::int64_t offset, Origin origin) override
    {
        const int whence = origin == Origin::Begin ? SEEK_SET : (origin == Origin::Current ? SEEK_CUR : SEEK_END);
        if (fseeko(FFile, static_cast<off_t>(offset), whence) == 0)
            FPos = ftello(FFile);
        return FPos;
    }
    std::int64_t Position() const override { return FPos; }
    std::int64_t Size() const override { return FSize; }

private:
    std::FILE *FFile;
    std::int64_t FPos = 0;
    std::int64_t FSize = 0;
};

class MemoryStream : public TAppFileStream {
public:
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : FData(std::move(bytes)) {}

    std::size_t Read(void *buffer, std::size_t count) override
    {
        if (FPos >= FData.size())
            return 0;
        const std::size_t n = std::min(count, FData.size() - FPos);
        std::memcpy(buffer, FData.data() + FPos, n);
        FPos += n;
        return n;
    }
    std::size_t Write(const void *buffer, std::size_t count) override
    {
        if (FPos + count > FData.size())
            FData.resize(FPos + count);
        std::memcpy(FData.data() + FPos, buffer, count);
        FPos += count;
        return count;
    }
    std::int64_t Seek(std::int64_t offset, Origin origin) override
    {
        const std::int64_t base = origin == Origin::Begin ? 0
                                  : origin == Origin::Current ? static_cast<std::int64_t>(FPos)
                                                              : static_cast<std::int64_t>(FData.size());
        const std::int64_t target = base + offset;
        if (target >= 0)
            FPos = static_cast<std::size_t>(target);
        return static_cast<std::int64_t>(FPos);
    }
    std::int64_t Position() const override { return static_cast<std::int64_t>(FPos); }
    std::int64_t Size() const override { return static_cast<std::int64_t>(FData.size()); }
    std::vector<std::uint8_t> Bytes() const override { return FData; }

private:
    std::vector<std::uint8_t> FData;
    std::size_t FPos = 0;
};

template <class T>
T FromLittleEndian(const std::uint8_t *p)
{
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    T out;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&out, &v, 8);
    } else {
        const auto narrow = static_cast<std::uint32_t>(v);
        std::memcpy(&out, &narrow, sizeof(T));
    }
    return out;
}

template <class T>
void ToLittleEndian(T value, std::uint8_t *p)
{
    std::uint64_t v = 0;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&v, &value, 8);
    } else {
        std::uint32_t narrow = 0;
        std::memcpy(&narrow, &value, sizeof(T));
        v = narrow;
    }
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

TAppFileStream::~TAppFileStream() = default;

std::unique_ptr<TAppFileStream> TAppFileStream::OpenRead(const std::string &fileName, std::string &error)
{
    std::FILE *f = std::fopen(fileName.c_str(), "rb");
    if (!f) {
        error = "cannot open file " + fileName;
        return nullptr;
    }
    return std::make_unique<FileStream>(f);
}

std::unique_ptr<TAppFileStream> TAppFileStream::Create(const std::string &fileName, std::string &error)
{
    std::FILE *f = std::fopen(fileName.c_str(), "w+b");
    if (!f) {
        error = "cannot create file " + fileName;
        return nullptr;
    }
    return std::make_unique<FileStream>(f);
}

std::unique_ptr<TAppFileStream> TAppFileStream::Memory(std::vector<std::uint8_t> bytes)
{
    return std::make_unique<MemoryStream>(std::move(bytes));
}

std::int64_t TAppFileStream::Remaining() const
{
    const std::int64_t r = Size() - Position();
    return r > 0 ? r : 0;
}

void TAppFileStream::Fail(const std::string &reason)
{
    if (!FFailed) {
        FFailed = true;
        FFailReason = reason;
    }
}

void TAppFileStream::ClearFailure()
{
    FFailed = false;
    FFailReason.clear();
}

bool TAppFileStream::ReadExact(void *buffer, std::size_t count)
{
    if (FFailed) {
        std::memset(buffer, 0, count);
        return false;
    }
    if (Read(buffer, count) != count) {
        std::memset(buffer, 0, count);
        Fail("unexpected end of data");
        return false;
    }
    return true;
}

std::int32_t TAppFileStream::ReadInteger()
{
    std::uint8_t b[4];
    ReadExact(b, 4);
    return FromLittleEndian<std::int32_t>(b);
}

std::int64_t TAppFileStream::ReadInt64()
{
    std::uint8_t b[8];
    ReadExact(b, 8);
    return FromLittleEndian<std::int64_t>(b);
}

double TAppFileStream::ReadDouble()
{
    std::uint8_t b[8];
    ReadExact(b, 8);
    return FromLittleEndian<double>(b);
}

bool TAppFileStream::ReadBoolean()
{
    // Stored inverted: 0 is true, anything else false.
    return !FFailed && ReadInteger() == 0 && !FFailed;
}

std::string TAppFileStream::ReadString()
{
    const std::int32_t n = ReadInteger();
    if (FFailed || n <= 0 || n >= APP_STRING_LENGTH_LIMIT)
        return {};
    if (n > Remaining()) {
        Fail("text longer than the data left");
        return {};
    }
    std::string s(static_cast<std::size_t>(n), '\0');
    ReadExact(s.data(), s.size());
    return FFailed ? std::string() : s;
}

std::string TAppFileStream::ReadGuid()
{
    std::uint8_t b[16];
    if (!ReadExact(b, 16))
        return {};
    return GuidBytesToText(b);
}

std::vector<std::uint8_t> TAppFileStream::ReadBinary()
{
    const std::int32_t n = ReadInteger();
    if (FFailed || n <= 0 || n >= APP_STRING_LENGTH_LIMIT)
        return {};
    if (n > Remaining()) {
        Fail("data longer than the file");
        return {};
    }
    std::vector<std::uint8_t> v(static_cast<std::size_t>(n));
    ReadExact(v.data(), v.size());
    if (FFailed)
        v.clear();
    return v;
}

std::int32_t TAppFileStream::ReadCount(std::int64_t minItemBytes)
{
    const std::int32_t n = ReadInteger();
    if (FFailed)
        return 0;
    if (n < 0 || (minItemBytes > 0 && static_cast<std::int64_t>(n) * minItemBytes > Remaining())) {
        Fail("count larger than the data left");
        return 0;
    }
    return n;
}

void TAppFileStream::WriteInteger(std::int32_t v)
{
    std::uint8_t b[4];
    ToLittleEndian(v, b);
    Write(b, 4);
}

void TAppFileStream::WriteInt64(std::int64_t v)
{
    std::uint8_t b[8];
    ToLittleEndian(v, b);
    Write(b, 8);
}

void TAppFileStream::WriteDouble(double v)
{
    std::uint8_t b[8];
    ToLittleEndian(v, b);
    Write(b, 8);
}

void TAppFileStream::WriteBoolean(bool v) { WriteInteger(v ? 0 : 1); }

void TAppFileStream::WriteString(const std::string &s)
{
    WriteInteger(static_cast<std::int32_t>(s.size()));
    if (!s.empty())
        Write(s.data(), s.size());
}

void TAppFileStream::WriteGuid(const std::string &guidText)
{
    std::uint8_t b[16] = {};
    GuidTextToBytes(guidText, b);
    Write(b, 16);
}

void TAppFileStream::WriteBinary(const std::vector<std::uint8_t> &bytes)
{
    WriteInteger(static_cast<std::int32_t>(bytes.size()));
    if (!bytes.empty())
        Write(bytes.data(), bytes.size());
}

void TAppFileStream::WriteLine(const std::string &text)
{
    Write(text.data(), text.size());
    Write("\r\n", 2);
}

std::string GuidBytesToText(const std::uint8_t (&b)[16])
{
    static constexpr char hex[] = "0123456789ABCDEF";
    // Data1, Data2 and Data3 are little-endian; the last 8 bytes are in order.
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string out = "{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out.push_back('-');
        const std::uint8_t v = b[order[i]];
        out.push_back(hex[v >> 4]);
        out.push_back(hex[v & 15]);
    }
    out.push_back('}');
    return out;
}

bool GuidTextToBytes(const std::string &text, std::uint8_t (&b)[16])
{
    if (!IsGuidString(text))
        return false;
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    auto nibble = [](char c) {
        return c <= '9' ? c - '0' : (c <= 'F' ? c - 'A' + 10 : c - 'a' + 10);
    };
    std::size_t p = 1;
    for (int i = 0; i < 16; ++i) {
        if (text[p] == '-')
            ++p;
        b[order[i]] = static_cast<std::uint8_t>(nibble(text[p]) * 16 + nibble(text[p + 1]));
        p += 2;
    }
    return true;
}

} // namespace kalvion
