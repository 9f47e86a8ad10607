#pragma once
// The typed binary stream of older sector files and of the objects' stream
// forms.  Every value is little-endian: integers 4 bytes, 64-bit integers 8,
// doubles IEEE 754, booleans a 4-byte integer stored inverted (0 is true),
// strings an int32 length and the bytes, GUIDs 16 bytes in the Windows layout.
//
// Readers never trust what they read: a value that runs past the end, a
// length longer than the bytes left or a count that cannot fit sets Failed(),
// after which every read gives a neutral value.  Loops over counts stay
// bounded by the size of the input.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

inline constexpr std::int32_t APP_STREAM_VERSION = 4;
inline constexpr std::int32_t APP_STRING_LENGTH_LIMIT = 50000000;

class TAppFileStream {
public:
    enum class Origin { Begin, Current, End };

    virtual ~TAppFileStream();

    // A file opened for reading; null and "cannot open file <name>" in error.
    static std::unique_ptr<TAppFileStream> OpenRead(const std::string &fileName, std::string &error);
    // A new (truncated) file opened for writing and reading; null and
    // "cannot create file <name>" in error.
    static std::unique_ptr<TAppFileStream> Create(const std::string &fileName, std::string &error);
    // A stream in memory, as scripts create them.
    static std::unique_ptr<TAppFileStream> Memory(std::vector<std::uint8_t> bytes = {});

    std::int32_t StreamVersion = APP_STREAM_VERSION;

    // Raw access.  Read and Write report 0 bytes on failure.
    virtual std::size_t Read(void *buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void *buffer, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, Origin origin) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
    std::int64_t Remaining() const;
    bool AtEnd() const { return Position() >= Size(); }

    // The contents of a memory stream (empty for a file stream).
    virtual std::vector<std::uint8_t> Bytes() const { return {}; }

    bool Failed() const { return FFailed; }
    const std::string &FailReason() const { return FFailReason; }
    void Fail(const std::string &reason);
    void ClearFailure();

    // Typed values.
    std::int32_t ReadInteger();
    std::int64_t ReadInt64();
    double ReadDouble();
    bool ReadBoolean();
    std::string ReadString();
    std::string ReadGuid();                  // 16 bytes to "{XXXXXXXX-...}"
    std::vector<std::uint8_t> ReadBinary();  // as a string: length, then bytes
    // A count of items each needing at least minItemBytes: negative counts and
    // counts the bytes left cannot hold fail the stream and give 0.
    std::int32_t ReadCount(std::int64_t minItemBytes);

    void WriteInteger(std::int32_t v);
    void WriteInt64(std::int64_t v);
    void WriteDouble(double v);
    void WriteBoolean(bool v);
    void WriteString(const std::string &s);
    void WriteGuid(const std::string &guidText);
    void WriteBinary(const std::vector<std::uint8_t> &bytes);
    void WriteLine(const std::string &text);

private:
    bool ReadExact(void *buffer, std::size_t count);
    bool FFailed = false;
    std::string FFailReason;
};

// The 16 bytes of a GUID in the Windows layout (little-endian Data1, Data2,
// Data3, then 8 bytes) to and from the registry text form.
std::string GuidBytesToText(const std::uint8_t (&bytes)[16]);
bool GuidTextToBytes(const std::string &text, std::uint8_t (&bytes)[16]);

} // namespace kalvion
