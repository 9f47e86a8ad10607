#pragma once
// A small database access layer: a connection with positional parameters,
// statement execution and transactions, and query results held in memory as
// result sets readable by column index or name.  Only an SQLite engine
// exists (ZentDatabaseSQLite.h); the abstract class leaves room for others.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

// Binary values travel as plain byte blocks.
using TMemoryStream = std::vector<std::uint8_t>;

inline constexpr int ZENT_FIELD_INTEGER = 0;
inline constexpr int ZENT_FIELD_FLOAT = 1;
inline constexpr int ZENT_FIELD_TEXT = 2;
inline constexpr int ZENT_FIELD_BINARY = 4;

// One value tagged with its kind; only the slot of its kind is meaningful.
struct TZentResultField {
    int Kind = ZENT_FIELD_TEXT;
    std::int64_t IntValue = 0;
    double FloatValue = 0;
    std::string TextValue;
    TMemoryStream BinaryValue;
};

using TZentResultRow = std::vector<TZentResultField>;

class TZentResultSet {
public:
    std::vector<TZentResultRow> Rows;
    std::vector<std::string> ColumnNames; // lower case
    int CurrentRow = 0;
    bool EndOfRows = true;
    bool BeforeFirst = true;

    int RowCount() const { return static_cast<int>(Rows.size()); }
    int ColumnCount() const { return static_cast<int>(ColumnNames.size()); }

    void First();
    // The first call does not move: a loop that calls Next before each read
    // visits every row.
    bool Next();
    int FieldIndex(std::string_view name) const;
    const TZentResultField *GetField(int column) const;

    std::string AsString(int column);
    std::string AsString(std::string_view name) { return AsString(FieldIndex(name)); }
    double AsFloat(int column);
    double AsFloat(std::string_view name) { return AsFloat(FieldIndex(name)); }
    std::int64_t AsInt64(int column);
    std::int64_t AsInt64(std::string_view name) { return AsInt64(FieldIndex(name)); }
    bool AsBoolean(int column);
    bool AsBoolean(std::string_view name) { return AsBoolean(FieldIndex(name)); }
    // A copy of a binary value; none for any other kind and for an empty one.
    std::unique_ptr<TMemoryStream> AsStream(int column);
    std::unique_ptr<TMemoryStream> AsStream(std::string_view name) { return AsStream(FieldIndex(name)); }

};

class TZentDBInterface {
public:
    TZentDBInterface(std::string connectionName, std::string text2 = {}, std::string text3 = {},
                     std::string text4 = {});
    virtual ~TZentDBInterface();
    TZentDBInterface(const TZentDBInterface &) = delete;
    TZentDBInterface &operator=(const TZentDBInterface &) = delete;

    std::string ConnectionName;
    std::string ConnectionText2, ConnectionText3, ConnectionText4;
    std::string PendingSQL;
    bool HasError = false;
    std::string ErrorMessage;

    virtual std::unique_ptr<TZentDBInterface> NewConnection() { return nullptr; }
    virtual bool Open() { return false; }
    virtual void Close() {}
    virtual std::unique_ptr<TZentResultSet> Query(std::string_view sql) = 0;
    virtual void Execute(std::string_view sql) = 0;
    // Reads the file, splits it at ";" and executes every non-empty piece.
    // False when the file cannot be read.
    virtual bool ExecuteScriptFile(const std::string &fileName);
    virtual std::int64_t LastInsertID() { return 0; }
    virtual void Vacuum() {}
    virtual void BeginTransaction() {}
    virtual void EndTransaction() {}

    void ClearParams() { FParams.clear(); }
    void AddParamInt(std::int64_t value);
    void AddParamFloat(double value);
    void AddParamText(std::string_view value);
    void AddParamBlob(const TMemoryStream &stream);
    void AddParamBlob(const std::uint8_t *data, std::size_t size);
    int ParamCount() const { return static_cast<int>(FParams.size()); }

    virtual int MapColumnType(int /*driverType*/) const { return 0; }

protected:
    std::vector<TZentResultField> FParams;
};

// Splits a script at ";" into trimmed, non-empty statements.
std::vector<std::string> SplitSqlScript(std::string_view script);

} // namespace kalvion
