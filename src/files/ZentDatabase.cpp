#include "files/ZentDatabase.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "base/Rounding.h"

#include <charconv>
#include <fstream>
#include <iterator>

namespace kalvion {

// ---- result set ----

void TZentResultSet::First()
{
    CurrentRow = 0;
    BeforeFirst = true;
    EndOfRows = Rows.empty();
}

bool TZentResultSet::Next()
{
    if (EndOfRows)
        return false;
    if (BeforeFirst) {
        BeforeFirst = false;
        return true;
    }
    if (CurrentRow + 1 >= RowCount()) {
        EndOfRows = true;
        return false;
    }
    ++CurrentRow;
    return true;
}

int TZentResultSet::FieldIndex(std::string_view name) const
{
    const std::string key = AsciiLower(TrimView(name));
    for (std::size_t i = 0; i < ColumnNames.size(); ++i)
        if (ColumnNames[i] == key)
            return static_cast<int>(i);
    return -1;
}

const TZentResultField *TZentResultSet::GetField(int column) const
{
    if (column < 0 || column >= ColumnCount() || EndOfRows)
        return nullptr;
    if (CurrentRow < 0 || CurrentRow >= RowCount())
        return nullptr;
    const TZentResultRow &row = Rows[static_cast<std::size_t>(CurrentRow)];
    if (column >= static_cast<int>(row.size()))
        return nullptr;
    return &row[static_cast<std::size_t>(column)];
}

std::string TZentResultSet::AsString(int column)
{
    BeforeFirst = false;
    const TZentResultField *f = GetField(column);
    if (!f)
        return {};
    switch (f->Kind) {
    case ZENT_FIELD_INTEGER:
        return std::to_string(f->IntValue);
    case ZENT_FIELD_FLOAT: {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, f->FloatValue);
        return std::string(buf, r.ptr);
    }
    case ZENT_FIELD_TEXT:
        return f->TextValue;
    default:
        return {};
    }
}

double TZentResultSet::AsFloat(int column)
{
    BeforeFirst = false;
    const TZentResultField *f = GetField(column);
    if (!f)
        return 0;
    switch (f->Kind) {
    case ZENT_FIELD_INTEGER:
        return static_cast<double>(f->IntValue);
    case ZENT_FIELD_FLOAT:
        return f->FloatValue;
    case ZENT_FIELD_TEXT:
        return ParseDouble(f->TextValue).value_or(0);
    default:
        return 0;
    }
}

std::int64_t TZentResultSet::AsInt64(int column)
{
    BeforeFirst = false;
    const TZentResultField *f = GetField(column);
    if (!f)
        return 0;
    switch (f->Kind) {
    case ZENT_FIELD_INTEGER:
        return f->IntValue;
    case ZENT_FIELD_FLOAT:
        return RoundToInt64(f->FloatValue).value_or(0);
    case ZENT_FIELD_TEXT:
        return ParseInt64(f->TextValue).value_or(0);
    default:
        return 0;
    }
}

bool TZentResultSet::AsBoolean(int column)
{
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(AsInt64(column)) & 0xFFFFFFFFu) != 0;
}

std::unique_ptr<TMemoryStream> TZentResultSet::AsStream(int column)
{
    BeforeFirst = false;
    const TZentResultField *f = GetField(column);
    if (!f || f->Kind != ZENT_FIELD_BINARY || f->BinaryValue.empty())
        return nullptr;
    return std::make_unique<TMemoryStream>(f->BinaryValue);
}

// ---- connection ----

TZentDBInterface::TZentDBInterface(std::string connectionName, std::string text2, std::string text3,
                                   std::string text4)
    : ConnectionName(std::move(connectionName)), ConnectionText2(std::move(text2)),
      ConnectionText3(std::move(text3)), ConnectionText4(std::move(text4))
{
    // Open is virtual: the engine class opens in its own constructor.
}

TZentDBInterface::~TZentDBInterface() { ClearParams(); }

void TZentDBInterface::AddParamInt(std::int64_t value)
{
    TZentResultField f;
    f.Kind = ZENT_FIELD_INTEGER;
    f.IntValue = value;
    FParams.push_back(std::move(f));
}

void TZentDBInterface::AddParamFloat(double value)
{
    TZentResultField f;
    f.Kind = ZENT_FIELD_FLOAT;
    f.FloatValue = value;
    FParams.push_back(std::move(f));
}

void TZentDBInterface::AddParamText(std::string_view value)
{
    TZentResultField f;
    f.Kind = ZENT_FIELD_TEXT;
    f.TextValue.assign(value);
    FParams.push_back(std::move(f));
}

void TZentDBInterface::AddParamBlob(const TMemoryStream &stream)
{
    AddParamBlob(stream.data(), stream.size());
}

void TZentDBInterface::AddParamBlob(const std::uint8_t *data, std::size_t size)
{
    TZentResultField f;
    f.Kind = ZENT_FIELD_BINARY;
    if (data && size > 0)
        f.BinaryValue.assign(data, data + size);
    FParams.push_back(std::move(f));
}

std::vector<std::string> SplitSqlScript(std::string_view script)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= script.size()) {
        std::size_t end = script.find(';', start);
        if (end == std::string_view::npos)
            end = script.size();
        const std::string_view piece = TrimView(script.substr(start, end - start));
        if (!piece.empty())
            out.emplace_back(piece);
        start = end + 1;
    }
    return out;
}

bool TZentDBInterface::ExecuteScriptFile(const std::string &fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const std::string &stmt : SplitSqlScript(text))
        Execute(stmt);
    return true;
}

} // namespace kalvion
