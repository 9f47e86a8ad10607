#include "files/ZentDatabaseSQLite.h"

#include "base/AsciiText.h"

#include <sqlite3.h>

#include <utility>

namespace kalvion {

namespace {

constexpr int BUSY_TIMEOUT_MS = 10000;

int SqlLength(std::string_view sql)
{
    // Statements longer than 2 GiB cannot be prepared; cut them so that the
    // prepare reports the error instead of reading past the text.
    return sql.size() > 0x7FFFFFF0u ? 0x7FFFFFF0 : static_cast<int>(sql.size());
}

} // namespace

// ---- prepared statement ----

TZentStatement::TZentStatement(TZentSqliteInterface &db, std::string_view sql) : FDb(&db)
{
    if (!db.Handle()) {
        db.HasError = true;
        db.ErrorMessage = "Database is not open";
        return;
    }
    const int rc = sqlite3_prepare_v2(db.Handle(), sql.data(), SqlLength(sql), &FStmt, nullptr);
    if (rc != SQLITE_OK) {
        db.SetDriverError(rc);
        sqlite3_finalize(FStmt);
        FStmt = nullptr;
    }
}

TZentStatement::~TZentStatement()
{
    if (FStmt)
        sqlite3_finalize(FStmt);
}

TZentStatement::TZentStatement(TZentStatement &&other) noexcept
    : FDb(std::exchange(other.FDb, nullptr)), FStmt(std::exchange(other.FStmt, nullptr))
{
}

TZentStatement &TZentStatement::operator=(TZentStatement &&other) noexcept
{
    if (this != &other) {
        if (FStmt)
            sqlite3_finalize(FStmt);
        FDb = std::exchange(other.FDb, nullptr);
        FStmt = std::exchange(other.FStmt, nullptr);
    }
    return *this;
}

void TZentStatement::BindInt(int index, std::int64_t value)
{
    if (FStmt)
        sqlite3_bind_int64(FStmt, index, value);
}

void TZentStatement::BindFloat(int index, double value)
{
    if (FStmt)
        sqlite3_bind_double(FStmt, index, value);
}

void TZentStatement::BindText(int index, std::string_view value)
{
    if (FStmt)
        sqlite3_bind_text(FStmt, index, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
}

void TZentStatement::BindTextCopy(int index, std::string_view value)
{
    if (FStmt)
        sqlite3_bind_text(FStmt, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

void TZentStatement::BindBlob(int index, const std::uint8_t *data, std::size_t size)
{
    if (!FStmt)
        return;
    if (size == 0)
        sqlite3_bind_null(FStmt, index);
    else
        sqlite3_bind_blob64(FStmt, index, data, size, SQLITE_STATIC);
}

void TZentStatement::BindNull(int index)
{
    if (FStmt)
        sqlite3_bind_null(FStmt, index);
}

bool TZentStatement::Exec()
{
    if (!FStmt)
        return false;
    const int rc = sqlite3_step(FStmt);
    sqlite3_reset(FStmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        FDb->SetDriverError(rc);
        return false;
    }
    return true;
}

bool TZentStatement::Step()
{
    if (!FStmt)
        return false;
    const int rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        FDb->SetDriverError(rc);
    sqlite3_reset(FStmt);
    return false;
}

void TZentStatement::Reset()
{
    if (FStmt) {
        sqlite3_reset(FStmt);
        sqlite3_clear_bindings(FStmt);
    }
}

int TZentStatement::ColumnCount() const { return FStmt ? sqlite3_column_count(FStmt) : 0; }

bool TZentStatement::IsNull(int column) const
{
    return !FStmt || sqlite3_column_type(FStmt, column) == SQLITE_NULL;
}

std::int64_t TZentStatement::ColumnInt64(int column) const
{
    return FStmt ? sqlite3_column_int64(FStmt, column) : 0;
}

double TZentStatement::ColumnDouble(int column) const { return FStmt ? sqlite3_column_double(FStmt, column) : 0; }

std::string TZentStatement::ColumnText(int column) const
{
    std::string s;
    ColumnText(column, s);
    return s;
}

void TZentStatement::ColumnText(int column, std::string &out) const
{
    out.assign(ColumnTextView(column));
}

std::string_view TZentStatement::ColumnTextView(int column) const
{
    if (!FStmt)
        return {};
    const unsigned char *p = sqlite3_column_text(FStmt, column);
    const int n = sqlite3_column_bytes(FStmt, column);
    if (p && n > 0)
        return {reinterpret_cast<const char *>(p), static_cast<std::size_t>(n)};
    return {};
}

void TZentStatement::ColumnBlob(int column, TMemoryStream &out) const
{
    out.clear();
    if (!FStmt)
        return;
    const void *p = sqlite3_column_blob(FStmt, column);
    const int n = sqlite3_column_bytes(FStmt, column);
    if (p && n > 0) {
        const auto *b = static_cast<const std::uint8_t *>(p);
        out.assign(b, b + n);
    }
}

// ---- connection ----

TZentSqliteInterface::TZentSqliteInterface(std::string connectionName, std::string text2, std::string text3,
                                           std::string text4, TZentOpenMode mode)
    : TZentDBInterface(std::move(connectionName), std::move(text2), std::move(text3), std::move(text4)),
      FMode(mode)
{
    Open();
}

TZentSqliteInterface::~TZentSqliteInterface()
{
    ClearParams();
    Close();
}

std::unique_ptr<TZentDBInterface> TZentSqliteInterface::NewConnection()
{
    return std::make_unique<TZentSqliteInterface>(ConnectionName, ConnectionText2, ConnectionText3,
                                                  ConnectionText4, FMode);
}

bool TZentSqliteInterface::Open()
{
    Close();
    // A connection serves one thread at a time, so the library's own
    // per-call locking is not needed.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (FMode == TZentOpenMode::CreateIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3 *h = nullptr;
    const int rc = sqlite3_open_v2(ConnectionName.c_str(), &h, flags, nullptr);
    if (rc != SQLITE_OK) {
        // The library may hand out a handle even when opening failed.
        if (h)
            sqlite3_close(h);
        h = nullptr;
    }
    FHandle = h;
    if (!FHandle) {
        HasError = true;
        ErrorMessage = "File could not be opened";
        return false;
    }
    sqlite3_busy_timeout(FHandle, BUSY_TIMEOUT_MS);
    return true;
}

void TZentSqliteInterface::Close()
{
    if (FHandle) {
        // Statements still prepared would keep the file open; close_v2 waits
        // for them instead of failing.
        sqlite3_close_v2(FHandle);
        FHandle = nullptr;
    }
}

void TZentSqliteInterface::SetDriverError(int code)
{
    HasError = true;
    const char *msg = FHandle ? sqlite3_errmsg(FHandle) : nullptr;
    ErrorMessage = msg && *msg ? msg : sqlite3_errstr(code);
}

int TZentSqliteInterface::Changes() const { return FHandle ? sqlite3_changes(FHandle) : 0; }

int TZentSqliteInterface::MapColumnType(int driverType) const
{
    switch (driverType) {
    case SQLITE_INTEGER:
        return ZENT_FIELD_INTEGER;
    case SQLITE_FLOAT:
        return ZENT_FIELD_FLOAT;
    case SQLITE_BLOB:
        return ZENT_FIELD_BINARY;
    default:
        return ZENT_FIELD_TEXT;
    }
}

void TZentSqliteInterface::BindParams(sqlite3_stmt *stmt)
{
    const int n = static_cast<int>(FParams.size());
    for (int i = 0; i < n; ++i) {
        const TZentResultField &p = FParams[static_cast<std::size_t>(i)];
        switch (p.Kind) {
        case ZENT_FIELD_INTEGER:
            sqlite3_bind_int64(stmt, i + 1, p.IntValue);
            break;
        case ZENT_FIELD_FLOAT:
            sqlite3_bind_double(stmt, i + 1, p.FloatValue);
            break;
        case ZENT_FIELD_TEXT:
            sqlite3_bind_text64(stmt, i + 1, p.TextValue.data(), p.TextValue.size(), SQLITE_TRANSIENT,
                                SQLITE_UTF8);
            break;
        case ZENT_FIELD_BINARY:
            // The parameter list outlives the step, so no copy is needed; an
            // empty block stays unbound and reads back as NULL.
            if (!p.BinaryValue.empty())
                sqlite3_bind_blob64(stmt, i + 1, p.BinaryValue.data(), p.BinaryValue.size(), SQLITE_STATIC);
            break;
        default:
            break;
        }
    }
}

void TZentSqliteInterface::Execute(std::string_view sql)
{
    ClearError();
    const std::string text(sql.empty() ? std::string_view(PendingSQL) : sql);
    if (!FHandle) {
        HasError = true;
        ErrorMessage = "Database is not open";
    } else {
        sqlite3_stmt *stmt = nullptr;
        const int rc = sqlite3_prepare_v2(FHandle, text.data(), SqlLength(text), &stmt, nullptr);
        if (rc != SQLITE_OK) {
            SetDriverError(rc);
        } else if (stmt) {
            BindParams(stmt);
            const int src = sqlite3_step(stmt);
            if (src != SQLITE_DONE && src != SQLITE_ROW)
                SetDriverError(src);
        }
        sqlite3_finalize(stmt);
    }
    PendingSQL.clear();
    ClearParams();
}

std::unique_ptr<TZentResultSet> TZentSqliteInterface::Query(std::string_view sql)
{
    ClearError();
    auto rs = std::make_unique<TZentResultSet>();
    const std::string text(sql.empty() ? std::string_view(PendingSQL) : sql);
    if (!FHandle) {
        HasError = true;
        ErrorMessage = "Database is not open";
    } else {
        sqlite3_stmt *stmt = nullptr;
        const int rc = sqlite3_prepare_v2(FHandle, text.data(), SqlLength(text), &stmt, nullptr);
        if (rc != SQLITE_OK) {
            SetDriverError(rc);
        } else if (stmt) {
            BindParams(stmt);
            const int cols = sqlite3_column_count(stmt);
            rs->ColumnNames.reserve(static_cast<std::size_t>(cols));
            for (int c = 0; c < cols; ++c) {
                const char *name = sqlite3_column_name(stmt, c);
                rs->ColumnNames.push_back(AsciiLower(name ? name : ""));
            }
            int src;
            while ((src = sqlite3_step(stmt)) == SQLITE_ROW) {
                TZentResultRow row(static_cast<std::size_t>(cols));
                for (int c = 0; c < cols; ++c) {
                    TZentResultField &f = row[static_cast<std::size_t>(c)];
                    const int type = sqlite3_column_type(stmt, c);
                    f.Kind = MapColumnType(type);
                    switch (type) {
                    case SQLITE_INTEGER:
                        // Row ids and 64-bit members need the whole value.
                        f.IntValue = sqlite3_column_int64(stmt, c);
                        break;
                    case SQLITE_FLOAT:
                        f.FloatValue = sqlite3_column_double(stmt, c);
                        break;
                    case SQLITE_BLOB: {
                        const void *p = sqlite3_column_blob(stmt, c);
                        const int n = sqlite3_column_bytes(stmt, c);
                        if (p && n > 0)
                            f.BinaryValue.assign(static_cast<const std::uint8_t *>(p),
                                                 static_cast<const std::uint8_t *>(p) + n);
                        break;
                    }
                    case SQLITE_NULL:
                        break;
                    default: {
                        const unsigned char *p = sqlite3_column_text(stmt, c);
                        const int n = sqlite3_column_bytes(stmt, c);
                        if (p && n > 0)
                            f.TextValue.assign(reinterpret_cast<const char *>(p), static_cast<std::size_t>(n));
                        break;
                    }
                    }
                }
                rs->Rows.push_back(std::move(row));
            }
            if (src != SQLITE_DONE)
                SetDriverError(src);
        }
        sqlite3_finalize(stmt);
    }
    PendingSQL.clear();
    ClearParams();
    rs->First();
    return rs;
}

std::int64_t TZentSqliteInterface::LastInsertID() { return FHandle ? sqlite3_last_insert_rowid(FHandle) : 0; }

} // namespace kalvion
