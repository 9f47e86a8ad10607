// The database access layer: result sets, parameters, errors, opening.
#include "FilesTestHelpers.h"
#include "files/ZentDatabaseSQLite.h"

#include <filesystem>
#include <fstream>

namespace kalvion::test {
namespace {

class ZentDatabaseTest : public TempDirTest {
protected:
    std::unique_ptr<TZentSqliteInterface> Db;
    void SetUp() override
    {
        TempDirTest::SetUp();
        Db = std::make_unique<TZentSqliteInterface>(PathOf("t.db"));
        ASSERT_FALSE(Db->HasError);
        Db->Execute("create table t (id integer primary key, i integer, f float, s text, b blob)");
        ASSERT_FALSE(Db->HasError) << Db->ErrorMessage;
    }
};

TEST_F(ZentDatabaseTest, EmptyResultGivesNeutralValues)
{
    auto rs = Db->Query("select i, f, s, b from t");
    EXPECT_EQ(rs->RowCount(), 0);
    EXPECT_EQ(rs->ColumnCount(), 4);
    EXPECT_FALSE(rs->Next());
    EXPECT_EQ(rs->AsString(0), "");
    EXPECT_EQ(rs->AsFloat(1), 0);
    EXPECT_EQ(rs->AsInt64("i"), 0);
    EXPECT_FALSE(rs->AsBoolean(0));
    EXPECT_EQ(rs->AsStream(3), nullptr);
}

TEST_F(ZentDatabaseTest, FirstNextDoesNotMoveAndGettersConsumeTheFirstRow)
{
    for (int i = 1; i <= 3; ++i) {
        Db->AddParamInt(i);
        Db->Execute("insert into t (i) values (?)");
    }
    auto rs = Db->Query("select i from t order by id");
    std::vector<std::int64_t> seen;
    while (rs->Next())
        seen.push_back(rs->AsInt64(0));
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_TRUE(rs->EndOfRows);

    // A read right after the query reads row one; the next Next moves on.
    auto rs2 = Db->Query("select i from t order by id");
    EXPECT_EQ(rs2->AsInt64(0), 1);
    EXPECT_TRUE(rs2->Next());
    EXPECT_EQ(rs2->AsInt64(0), 2);
    EXPECT_TRUE(rs2->Next());
    EXPECT_FALSE(rs2->Next());
    EXPECT_EQ(rs2->AsInt64(0), 0); // past the end
}

TEST_F(ZentDatabaseTest, ConversionsBetweenKinds)
{
    Db->Execute("insert into t (i, f, s) values (3000000000, 2.5, '12')");
    Db->Execute("insert into t (i, f, s) values (-7, 3.5, '12.5')");
    auto rs = Db->Query("select i, f, s, b from t order by id");
    ASSERT_TRUE(rs->Next());
    // Integers keep all 64 bits: row ids and 64-bit members depend on it.
    EXPECT_EQ(rs->AsInt64(0), 3000000000LL);
    EXPECT_EQ(rs->AsInt64(1), 2); // half to even
    EXPECT_EQ(rs->AsInt64(2), 12);
    EXPECT_EQ(rs->AsString(0), "3000000000");
    EXPECT_EQ(rs->AsString(1), "2.5");
    EXPECT_DOUBLE_EQ(rs->AsFloat(2), 12.0);
    EXPECT_EQ(rs->AsString(3), ""); // NULL reads as empty text
    ASSERT_TRUE(rs->Next());
    EXPECT_EQ(rs->AsInt64(1), 4);
    EXPECT_EQ(rs->AsInt64(2), 0); // "12.5" is not an integer
    EXPECT_DOUBLE_EQ(rs->AsFloat(2), 12.5);
    EXPECT_TRUE(rs->AsBoolean(0));
    EXPECT_EQ(rs->FieldIndex(" S "), 2);
    EXPECT_EQ(rs->FieldIndex("nope"), -1);
    EXPECT_EQ(rs->AsString("nope"), "");
}

TEST_F(ZentDatabaseTest, TextAndBlobsRoundTripAsBytes)
{
    const std::string text("caf\xE9\0x", 6);
    TMemoryStream bytes{0, 1, 2, 255};
    Db->AddParamText(text);
    Db->AddParamBlob(bytes);
    Db->Execute("insert into t (s, b) values (?, ?)");
    Db->AddParamBlob(TMemoryStream{});
    Db->Execute("insert into t (b) values (?)");
    EXPECT_FALSE(Db->HasError);
    auto rs = Db->Query("select s, b, b is null from t order by id");
    ASSERT_TRUE(rs->Next());
    EXPECT_EQ(rs->AsString(0), text);
    auto stream = rs->AsStream(1);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(*stream, bytes);
    ASSERT_TRUE(rs->Next());
    EXPECT_EQ(rs->AsStream(1), nullptr);
    EXPECT_TRUE(rs->AsBoolean(2)); // an empty blob is stored as NULL
}

TEST_F(ZentDatabaseTest, FailedStatementsSetTheErrorAndDropParameters)
{
    Db->AddParamInt(1);
    Db->Execute("insert into nowhere values (?)");
    EXPECT_TRUE(Db->HasError);
    EXPECT_FALSE(Db->ErrorMessage.empty());
    EXPECT_EQ(Db->ParamCount(), 0);
    auto rs = Db->Query("selec 1");
    EXPECT_TRUE(Db->HasError);
    EXPECT_EQ(rs->RowCount(), 0);

    // A statement that prepares but fails when stepped is an error too.
    Db->Execute("insert into t (id) values (1)");
    EXPECT_FALSE(Db->HasError);
    Db->Execute("insert into t (id) values (1)");
    EXPECT_TRUE(Db->HasError);
    EXPECT_NE(Db->ErrorMessage.find("UNIQUE"), std::string::npos) << Db->ErrorMessage;

    // The next good statement clears the error.
    Db->PendingSQL = "select 1";
    auto ok = Db->Query("");
    EXPECT_FALSE(Db->HasError);
    EXPECT_EQ(ok->AsInt64(0), 1);
    EXPECT_TRUE(Db->PendingSQL.empty());
}

TEST_F(ZentDatabaseTest, LastInsertIdAndScriptFiles)
{
    Db->Execute("insert into t (i) values (5)");
    EXPECT_EQ(Db->LastInsertID(), 1);
    const std::string script = PathOf("s.sql");
    {
        std::ofstream(script) << "insert into t (i) values (6);\n ; \ninsert into t (i) values (7);";
    }
    EXPECT_TRUE(Db->ExecuteScriptFile(script));
    EXPECT_EQ(Db->Query("select count(*) from t")->AsInt64(0), 3);
    EXPECT_FALSE(Db->ExecuteScriptFile(PathOf("missing.sql")));
    EXPECT_EQ(SplitSqlScript(" a ;;b; "), (std::vector<std::string>{"a", "b"}));
}

TEST_F(ZentDatabaseTest, OpeningExistingOnlyNeverCreates)
{
    const std::string missing = PathOf("missing.db");
    TZentSqliteInterface db(missing, "", "", "", TZentOpenMode::ExistingOnly);
    EXPECT_TRUE(db.HasError);
    EXPECT_EQ(db.ErrorMessage, "File could not be opened");
    EXPECT_FALSE(std::filesystem::exists(missing));
    TZentSqliteInterface bad(PathOf("no/such/folder/x.db"));
    EXPECT_TRUE(bad.HasError);
}

} // namespace
} // namespace kalvion::test
