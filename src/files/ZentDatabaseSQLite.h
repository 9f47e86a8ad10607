#pragma once
// The SQLite engine of the database access layer, over SQLite's C interface.
// Besides the generic Query/Execute it offers TZentStatement, a prepared
// statement that bulk readers and writers reuse across rows.
#include "base/CompactText.h"
#include "files/ZentDatabase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kalvion {

class TZentSqliteInterface;

// A prepared statement bound to one connection.  Every step is checked: a
// failure sets the connection's HasError and ErrorMessage.
class TZentStatement {
public:
    TZentStatement() = default;
    TZentStatement(TZentSqliteInterface &db, std::string_view sql);
    ~TZentStatement();
    TZentStatement(const TZentStatement &) = delete;
    TZentStatement &operator=(const TZentStatement &) = delete;
    TZentStatement(TZentStatement &&other) noexcept;
    TZentStatement &operator=(TZentStatement &&other) noexcept;

    bool Prepared() const { return FStmt != nullptr; }

    // Binding, 1-based.  Texts and blobs are bound without a copy: the
    // caller keeps them alive until the statement has been stepped.
    void BindInt(int index, std::int64_t value);
    void BindFloat(int index, double value);
    // The bytes must outlive the step: SQLite reads them in place.
    void BindText(int index, std::string_view value);
    // For a text made for the call (an identity written out): SQLite copies it.
    void BindTextCopy(int index, std::string_view value);
    void BindBlob(int index, const std::uint8_t *data, std::size_t size);
    void BindNull(int index);

    // Runs a statement that yields no rows; resets it for the next use.
    bool Exec();
    // Steps a query: true while a row is available.  At the end (or on an
    // error, which the connection records) it resets the statement.
    bool Step();
    void Reset();

    int ColumnCount() const;
    bool IsNull(int column) const;
    std::int64_t ColumnInt64(int column) const;
    double ColumnDouble(int column) const;
    std::string ColumnText(int column) const;
    void ColumnText(int column, std::string &out) const;
    void ColumnText(int column, TCompactText &out) const { out = ColumnTextView(column); }
    // The column's bytes, valid until the statement steps or resets.
    std::string_view ColumnTextView(int column) const;
    void ColumnBlob(int column, TMemoryStream &out) const;

private:
    TZentSqliteInterface *FDb = nullptr;
    sqlite3_stmt *FStmt = nullptr;
};

enum class TZentOpenMode {
    CreateIfMissing, // the library's default open: a missing file is created
    ExistingOnly,    // a missing file is an error; never creates one
};

class TZentSqliteInterface : public TZentDBInterface {
public:
    explicit TZentSqliteInterface(std::string connectionName, std::string text2 = {}, std::string text3 = {},
                                  std::string text4 = {},
                                  TZentOpenMode mode = TZentOpenMode::CreateIfMissing);
    ~TZentSqliteInterface() override;

    std::unique_ptr<TZentDBInterface> NewConnection() override;
    bool Open() override;
    void Close() override;
    std::unique_ptr<TZentResultSet> Query(std::string_view sql) override;
    void Execute(std::string_view sql) override;
    std::int64_t LastInsertID() override;
    void Vacuum() override { Execute("vacuum"); }
    void BeginTransaction() override { Execute("begin transaction"); }
    void EndTransaction() override { Execute("end transaction"); }
    int MapColumnType(int driverType) const override;

    sqlite3 *Handle() const { return FHandle; }
    bool IsOpen() const { return FHandle != nullptr; }
    // Rows changed by the last statement on this connection.
    int Changes() const;
    // Records a driver error on the connection.
    void SetDriverError(int code);
    void ClearError()
    {
        HasError = false;
        ErrorMessage.clear();
    }

private:
    sqlite3 *FHandle = nullptr;
    TZentOpenMode FMode;
    void BindParams(sqlite3_stmt *stmt);
};

} // namespace kalvion
