// World files (".gex"): a little-endian header of 139 bytes followed by the
// grids.  Version 7 is written; versions 1 to 10 are read, anything else as 1.
// Sizes and counts are checked against what the file can still hold before
// anything is allocated, so a damaged file stops the read without harm.
#include "surface/GexTerrain.h"

#include "base/SafeFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace kalvion {

namespace {

// ---- writing -------------------------------------------------------------

void PutI32(std::vector<std::uint8_t> &out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

void PutI16(std::vector<std::uint8_t> &out, std::int32_t v)
{
    const std::int32_t c = v < -32768 ? -32768 : (v > 32767 ? 32767 : v);
    const auto u = static_cast<std::uint16_t>(c);
    out.push_back(static_cast<std::uint8_t>(u));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
}

void PutF64(std::vector<std::uint8_t> &out, double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

// ---- reading -------------------------------------------------------------

// A bounded byte source: from memory or from an open file of known length.
class TWorldSource {
public:
    virtual ~TWorldSource() = default;
    std::uint64_t Remaining() const noexcept { return Remaining_; }
    bool Read(std::uint8_t *dst, std::size_t n)
    {
        if (n > Remaining_)
            return false;
        if (!Fetch(dst, n))
            return false;
        Remaining_ -= n;
        return true;
    }
    bool I32(std::int32_t &v)
    {
        std::uint8_t b[4];
        if (!Read(b, 4))
            return false;
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                      (static_cast<std::uint32_t>(b[2]) << 16) |
                                      (static_cast<std::uint32_t>(b[3]) << 24));
        return true;
    }
    bool F64(double &v)
    {
        std::uint8_t b[8];
        if (!Read(b, 8))
            return false;
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | b[i];
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }

protected:
    explicit TWorldSource(std::uint64_t size) : Remaining_(size) {}
    virtual bool Fetch(std::uint8_t *dst, std::size_t n) = 0;

private:
    std::uint64_t Remaining_;
};

class TMemorySource final : public TWorldSource {
public:
    TMemorySource(const std::uint8_t *data, std::size_t size) : TWorldSource(data ? size : 0), Data_(data) {}

protected:
    bool Fetch(std::uint8_t *dst, std::size_t n) override
    {
        std::memcpy(dst, Data_, n);
        Data_ += n;
        return true;
    }

private:
    const std::uint8_t *Data_;
};

class TFileSource final : public TWorldSource {
public:
    TFileSource(std::ifstream &in, std::uint64_t size) : TWorldSource(size), In_(in) {}

protected:
    bool Fetch(std::uint8_t *dst, std::size_t n) override
    {
        In_.read(reinterpret_cast<char *>(dst), static_cast<std::streamsize>(n));
        return static_cast<std::size_t>(In_.gcount()) == n;
    }

private:
    std::ifstream &In_;
};

// The reader proper.  Every field is stored as soon as it is read, so a
// damaged file leaves what came before it.
class TWorldReader {
public:
    TWorldReader(TGexTerrain &terrain, TWorldSource &src) : T_(terrain), Src_(src) {}

    bool Read(std::string &error);

private:
    bool Fail(std::string &error, const char *what)
    {
        error = what;
        return false;
    }
    bool Colours()
    {
        TColor *fields[] = {&T_.DeepWater, &T_.ShallowWater, &T_.Beach, &T_.Lowland,
                            &T_.Highland,  &T_.Ice,          &T_.Desert};
        for (TColor *f : fields) {
            std::int32_t v;
            if (!Src_.I32(v))
                return false;
            *f = static_cast<TColor>(v);
        }
        return true;
    }
    bool Ranges()
    {
        std::int32_t v[6];
        for (int i = 0; i < 6; ++i) {
            if (!Src_.I32(v[i]))
                return false;
            // Stored as they come; a short file keeps the pairs read so far.
            switch (i) {
            case 1: T_.SetElevationRange(v[0], v[1]); break;
            case 3: T_.SetTemperatureRange(v[2], v[3]); break;
            case 5: T_.SetRainfallRange(v[4], v[5]); break;
            default: break;
            }
        }
        return true;
    }
    bool Settings(bool bothSwitches)
    {
        for (std::int32_t &s : T_.StoredSettings)
            if (!Src_.I32(s))
                return false;
        for (int i = 0; i < (bothSwitches ? 2 : 1); ++i) {
            std::int32_t v;
            if (!Src_.I32(v))
                return false;
            T_.StoredSwitches[static_cast<std::size_t>(i)] = v != 0;
        }
        return true;
    }
    // Checks a size and that the file can still hold `grids` grids of
    // `bytesPerCell` before the grids are re-created.
    bool Size(std::int32_t w, std::int32_t h, int grids, int bytesPerCell, std::string &error)
    {
        if (w <= 0 || h <= 0 || w > GEX_MAX_DIMENSION || h > GEX_MAX_DIMENSION)
            return Fail(error, "world file has an invalid map size");
        const std::uint64_t need = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) *
                                   static_cast<std::uint64_t>(grids) * static_cast<std::uint64_t>(bytesPerCell);
        if (need > Src_.Remaining())
            return Fail(error, "world file is shorter than its map size needs");
        if (w != T_.Width() || h != T_.Height())
            T_.SetSize(w, h);
        return true;
    }
    // One grid, row by row; bytesPerCell 4 (raw int32), 2 (int16) or 1 (byte).
    bool Grid(TIntegerMatrix &grid, int bytesPerCell, std::int32_t factor)
    {
        const int w = grid.Width();
        Row_.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(bytesPerCell));
        for (int r = 0; r < grid.Height(); ++r) {
            if (!Src_.Read(Row_.data(), Row_.size()))
                return false;
            std::int32_t *cells = grid.RowData(r);
            const std::uint8_t *p = Row_.data();
            for (int c = 0; c < w; ++c, p += bytesPerCell) {
                std::int32_t v;
                if (bytesPerCell == 4)
                    v = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                                  (static_cast<std::uint32_t>(p[1]) << 8) |
                                                  (static_cast<std::uint32_t>(p[2]) << 16) |
                                                  (static_cast<std::uint32_t>(p[3]) << 24));
                else if (bytesPerCell == 2)
                    v = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
                else
                    v = p[0];
                cells[c] = v * factor;
            }
        }
        return true;
    }
    bool MainGrids(int bytesPerCell)
    {
        return Grid(T_.Elevation(), bytesPerCell, bytesPerCell == 2 ? 100 : 1) &&
               Grid(T_.Rainfall(), bytesPerCell, 1) && Grid(T_.Temperature(), bytesPerCell, 1);
    }

    TGexTerrain &T_;
    TWorldSource &Src_;
    std::vector<std::uint8_t> Row_;
};

bool TWorldReader::Read(std::string &error)
{
    std::uint8_t magic[3];
    std::int32_t version = 0;
    // The magic is not compared: older writers were not consistent about it.
    if (!Src_.Read(magic, 3) || !Src_.I32(version))
        return Fail(error, "world file is too short");
    if (version < 1 || version > 10)
        version = 1;
    const char *truncated = "world file ends early";

    if (version == 1) {
        if (!Colours() || !Ranges())
            return Fail(error, truncated);
        if (!Size(512, 512, 3, 4, error))
            return false;
        return MainGrids(4) || Fail(error, truncated);
    }
    if (version <= 3) {
        std::int32_t w = 0, h = 0;
        if (!Colours() || !Src_.I32(T_.ShadingDivisor) || !Ranges())
            return Fail(error, truncated);
        if (version == 3 && !Settings(false))
            return Fail(error, truncated);
        if (!Src_.I32(w) || !Src_.I32(h))
            return Fail(error, truncated);
        if (!Size(w, h, 3, 4, error))
            return false;
        return MainGrids(4) || Fail(error, truncated);
    }
    if (version <= 7) {
        std::int32_t v = 0, w = 0, h = 0;
        if (version >= 5) {
            if (!Src_.I32(v))
                return Fail(error, truncated);
            T_.OriginFlag = v;
        }
        if (version == 7 && !Src_.F64(T_.Circumference))
            return Fail(error, truncated);
        if (!Src_.I32(T_.Seed) || !Colours())
            return Fail(error, truncated);
        if (version >= 5 && !Src_.I32(T_.IceOffset))
            return Fail(error, truncated);
        if (!Src_.I32(T_.ShadingDivisor) || !Ranges())
            return Fail(error, truncated);
        if (version >= 5 && (!Src_.I32(T_.CraterCount) || !Src_.I32(T_.SeaLevelShift)))
            return Fail(error, truncated);
        if (!Settings(true) || !Src_.I32(w) || !Src_.I32(h))
            return Fail(error, truncated);
        const int cellBytes = version == 7 ? 2 : 4;
        if (!Size(w, h, 3, cellBytes, error))
            return false;
        if (!MainGrids(cellBytes))
            return Fail(error, truncated);
        if (version >= 6) {
            std::int32_t colour = 0, present = 0;
            if (!Src_.I32(colour))
                return Fail(error, truncated);
            T_.CloudColor = static_cast<TColor>(colour);
            if (!Src_.I32(T_.CloudOffset) || !Src_.I32(present))
                return Fail(error, truncated);
            if (present == 1) {
                const int cloudBytes = version == 7 ? 1 : 4;
                if (T_.CellCount() * static_cast<std::uint64_t>(cloudBytes) > Src_.Remaining())
                    return Fail(error, truncated);
                if (!Grid(T_.Clouds(), cloudBytes, 1))
                    return Fail(error, truncated);
            }
        }
        return true;
    }
    // Versions 8 to 10 carry nothing this reader knows.
    return true;
}

} // namespace

void TGexTerrain::SaveToStream(std::vector<std::uint8_t> &out) const
{
    out.reserve(out.size() + GEX_HEADER_SIZE + CellCount_ * 7u + 12u);
    out.insert(out.end(), {'G', 'e', 'x'});
    PutI32(out, GEX_FILE_VERSION);
    PutI32(out, OriginFlag);
    PutF64(out, Circumference);
    PutI32(out, Seed);
    for (TColor c : {DeepWater, ShallowWater, Beach, Lowland, Highland, Ice, Desert})
        PutI32(out, static_cast<std::int32_t>(c));
    PutI32(out, IceOffset);
    PutI32(out, ShadingDivisor);
    for (std::int32_t v : {ElevationMin_, ElevationMax_, TemperatureMin_, TemperatureMax_, RainfallMin_, RainfallMax_})
        PutI32(out, v);
    PutI32(out, CraterCount);
    PutI32(out, SeaLevelShift);
    for (std::int32_t s : StoredSettings)
        PutI32(out, s);
    for (bool s : StoredSwitches)
        PutI32(out, s ? 1 : 0);
    PutI32(out, Width_);
    PutI32(out, Height_);
    // Elevations go in whole metres, cut towards zero.
    for (std::int32_t v : Elevation_.Cells())
        PutI16(out, v / 100);
    for (std::int32_t v : Rainfall_.Cells())
        PutI16(out, v);
    for (std::int32_t v : Temperature_.Cells())
        PutI16(out, v);
    PutI32(out, static_cast<std::int32_t>(CloudColor));
    PutI32(out, CloudOffset);
    const bool clouds = Clouds_.Max() > 0;
    PutI32(out, clouds ? 1 : 0);
    if (clouds)
        for (std::int32_t v : Clouds_.Cells())
            out.push_back(static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)));
}

bool TGexTerrain::SaveToFile(const std::string &path)
{
    std::vector<std::uint8_t> bytes;
    SaveToStream(bytes);
    std::string reason;
    if (!ReplaceFileContents(path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()),
                             &reason)) {
        ErrorMessage_ = reason;
        return false;
    }
    ErrorMessage_.clear();
    return true;
}

bool TGexTerrain::LoadFromBytes(const std::uint8_t *data, std::size_t size)
{
    Clouds_.Fill(-255);
    Clouds_.SetRange(-255, 255);
    CloudColor = ColorRGB(255, 255, 255);
    CloudOffset = 0;
    TMemorySource src(data, size);
    TWorldReader reader(*this, src);
    ErrorMessage_.clear();
    const bool ok = reader.Read(ErrorMessage_);
    ApplyRanges();
    return ok;
}

bool TGexTerrain::LoadFromFile(const std::string &path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        ErrorMessage_ = "cannot open " + path;
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ErrorMessage_ = "cannot open " + path;
        return false;
    }
    Clouds_.Fill(-255);
    Clouds_.SetRange(-255, 255);
    CloudColor = ColorRGB(255, 255, 255);
    CloudOffset = 0;
    TFileSource src(in, size);
    TWorldReader reader(*this, src);
    ErrorMessage_.clear();
    const bool ok = reader.Read(ErrorMessage_);
    ApplyRanges();
    return ok;
}

} // namespace kalvion
