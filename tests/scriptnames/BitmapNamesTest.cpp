// Bitmaps made by scripts: painted by the atmosphere routines with the same
// pixels as the program's own, bounded in size, written and read as image
// files, and refusing damaged files with a script error.
#include "ScriptRun.h"

#include "base/SharedRandom.h"
#include "graphics/AtmosphereTextures.h"
#include "model/StellarBody.h"
#include "scriptnames/ScriptObjectPool.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kalvion;
using namespace kalvion::testing_names;

namespace {

namespace fs = std::filesystem;

// Prints every pixel of bitmap b, row by row, as one MsgBox.
const char *kDumpPixels = "s = \"\"\n"
                          "For y = 0 To b.Height - 1\n"
                          "  For x = 0 To b.Width - 1\n"
                          "    s = s & b.Pixels(x, y) & \",\"\n"
                          "  Next\n"
                          "Next\n"
                          "MsgBox s\n";

std::string Dump(const QImage &img)
{
    std::ostringstream s;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            s << ColorFromQRgb(img.pixel(x, y)) << ",";
    return s.str();
}

class BitmapNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("kalvion-bitmap-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const std::string &name) const { return (Dir / name).string(); }
    void Write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string &name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    TScriptRunner R;
    fs::path Dir;
};

TEST_F(BitmapNames, GenerateAtmLayerPaintsThePixelsOfTheProgramsRoutine)
{
    const TColor base = ColorRGB(0x20, 0x30, 0x40), band = ColorRGB(0xF0, 0xC0, 0x80);
    SetSharedRandomSeed(777);
    ASSERT_TRUE(R.Run("Set b = TBitmap.Create\nb.SetSize 48, 24\nGenerateAtmLayer b, " + std::to_string(base) + ", " +
                      std::to_string(band) + "\n" + kDumpPixels))
        << R.LastError();
    // The layer seed was the one draw from the shared generator.
    EXPECT_EQ(SharedRandomSeed(), NextRandomSeed(777));

    SetSharedRandomSeed(777);
    const std::int32_t layerSeed = SharedRandomInt(1000000);
    QImage want(48, 24, QImage::Format_RGB32);
    want.fill(Qt::black);
    PaintAtmLayer(want, base, band, layerSeed);
    ASSERT_EQ(R.Printed.size(), 1u);
    EXPECT_EQ(R.Printed[0], Dump(want));
    // Bands and background both show, in the script's colour order.
    int banded = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 48; ++x)
            banded += want.pixel(x, y) != qRgb(0, 0, 0);
    EXPECT_GT(banded, 48 * 24 / 10);
    EXPECT_LT(banded, 48 * 24);

    // Another seed, another layer.
    SetSharedRandomSeed(778);
    ASSERT_TRUE(R.Run("Set b = TBitmap.Create\nb.SetSize 48, 24\nGenerateAtmLayer b, " + std::to_string(base) + ", " +
                      std::to_string(band) + "\n" + kDumpPixels));
    EXPECT_NE(R.Printed.at(1), R.Printed[0]);
}

TEST_F(BitmapNames, WrongArgumentsAreScriptErrorsNamingTheRoutine)
{
    struct Case {
        const char *Script, *Names;
    } cases[] = {
        {"GenerateAtmLayer b, 1", "GenerateAtmLayer"},
        {"GenerateAtmLayer b, 1, 2, 3", "GenerateAtmLayer"},
        {"GenerateAtmLayer TStringList.Create, 1, 2", "GenerateAtmLayer"},
        {"GenerateAtmLayer Nothing, 1, 2", "GenerateAtmLayer"},
        {"GenerateAtmLayer b, \"red\", 2", "GenerateAtmLayer"},
        {"GenerateTransAtmLayer Nothing, CreateBody(\"\"), 1, TStringList.Create", "GenerateTransAtmLayer"},
        {"x = b.Pixels(4, 0)", "Pixels"},
        {"x = b.Pixels(0, -1)", "Pixels"},
        {"x = b.Pixels(0)", "Pixels"},
        {"b.SetSize 4", "SetSize"},
        {"b.SaveToFile \"\"", "SaveToFile"},
    };
    for (const Case &c : cases) {
        R.Errors.clear();
        EXPECT_FALSE(R.Run(std::string("Set b = TBitmap.Create\nb.SetSize 4, 3\n") + c.Script)) << c.Script;
        EXPECT_NE(R.LastError().find(c.Names), std::string::npos) << c.Script << ": " << R.LastError();
    }
}

TEST_F(BitmapNames, HostileSizesAreRefusedAndTheBitmapKeepsItsSize)
{
    for (const char *bad : {"b.Width = 100000", "b.Height = -1", "b.SetSize 8193, 1", "b.SetSize 1, 2147483647",
                            "b.Width = 1E+300"}) {
        R.Errors.clear();
        EXPECT_FALSE(R.Run(std::string("Set b = TBitmap.Create\nb.SetSize 5, 6\nOn Error Resume Next\n") + bad +
                           "\nOn Error GoTo 0\nMsgBox b.Width & \"x\" & b.Height\n" + bad))
            << bad;
        EXPECT_EQ(R.Printed.back(), "5x6") << bad;
    }
    // The largest side is allowed; shrinking keeps what still fits.
    ASSERT_TRUE(R.Run("Set b = TBitmap.Create\nMsgBox b.Width & \"x\" & b.Height\nb.SetSize 8192, 1\n"
                      "b.Width = 3\nb.Height = 2\nMsgBox b.Width & \"x\" & b.Height & \" \" & b.Pixels(2, 1)"))
        << R.LastError();
    EXPECT_EQ(R.Printed[R.Printed.size() - 2], "0x0");
    EXPECT_EQ(R.Printed.back(), "3x2 0");
}

TEST_F(BitmapNames, SavedPicturesReadBackPixelForPixel)
{
    SetSharedRandomSeed(4242);
    const std::string save = "Set b = TBitmap.Create\nb.SetSize 40, 20\nGenerateAtmLayer b, 255, 16776960\n"
                             "b.SaveToFile \"" + Path("layer.png") + "\"\nb.SaveToFile \"" + Path("layer.dat") +
                             "\"\n" + kDumpPixels + "Set c = TBitmap.Create\nc.LoadFromFile \"" + Path("layer.png") +
                             "\"\nSet b = c\n" + kDumpPixels;
    ASSERT_TRUE(R.Run(save)) << R.LastError();
    ASSERT_EQ(R.Printed.size(), 2u);
    EXPECT_EQ(R.Printed[0], R.Printed[1]);
    // PNG whatever the name, unless the name asks for another format.
    EXPECT_EQ(Read("layer.png").substr(1, 3), "PNG");
    EXPECT_EQ(Read("layer.dat").substr(1, 3), "PNG");
    ASSERT_TRUE(R.Run("Set b = TBitmap.Create\nb.SetSize 2, 2\nb.SaveToFile \"" + Path("small.bmp") + "\""));
    EXPECT_EQ(Read("small.bmp").substr(0, 2), "BM");
    // A write that cannot happen is a script error and leaves no file behind.
    EXPECT_FALSE(R.Run("Set b = TBitmap.Create\nb.SetSize 2, 2\nb.SaveToFile \"" + Path("none/x.png") + "\""));
    EXPECT_NE(R.LastError().find("SaveToFile"), std::string::npos);
    EXPECT_FALSE(R.Run("Set b = TBitmap.Create\nb.SaveToFile \"" + Path("empty.png") + "\""));
    EXPECT_FALSE(fs::exists(Path("empty.png")));
}

TEST_F(BitmapNames, DamagedOrMissingFilesAreScriptErrors)
{
    QImage good(16, 8, QImage::Format_RGB32);
    good.fill(Qt::red);
    ASSERT_TRUE(good.save(QString::fromStdString(Path("good.png"))));
    const std::string png = Read("good.png");
    Write("truncated.png", png.substr(0, png.size() / 2));
    Write("garbage.png", std::string(300, '\x5a'));
    Write("empty.png", "");
    // A header that claims more pixels than any bitmap may have.
    std::string huge = png;
    huge[16] = huge[17] = '\x7f';
    Write("huge.png", huge);
    ASSERT_TRUE(QImage(ATM_MAX_DIMENSION + 1, 1, QImage::Format_RGB32).save(QString::fromStdString(Path("wide.png"))));
    fs::create_directories(Path("folder.png"));

    for (const char *name : {"truncated.png", "garbage.png", "empty.png", "huge.png", "wide.png", "folder.png",
                             "missing.png"}) {
        R.Errors.clear();
        EXPECT_FALSE(R.Run("Set b = TBitmap.Create\nb.SetSize 3, 3\nOn Error Resume Next\nb.LoadFromFile \"" +
                           Path(name) + "\"\nOn Error GoTo 0\nMsgBox b.Width & \"x\" & b.Height\nb.LoadFromFile \"" +
                           Path(name) + "\""))
            << name;
        EXPECT_NE(R.LastError().find("LoadFromFile"), std::string::npos) << name << ": " << R.LastError();
        EXPECT_EQ(R.Printed.back(), "3x3") << name;
    }
    ASSERT_TRUE(R.Run("Set b = TBitmap.Create\nb.LoadFromFile \"" + Path("good.png") +
                      "\"\nMsgBox b.Width & \"x\" & b.Height & \" \" & b.Pixels(15, 7)"))
        << R.LastError();
    EXPECT_EQ(R.Printed.back(), "16x8 255");
}

TEST_F(BitmapNames, GenerateTransAtmLayerPaintsAGivenBitmapAndLeavesTheSectorAlone)
{
    TVexaSector sector;
    R.Host.Sector = &sector;
    const std::string body = "Set p = CreateBody(\"\")\np.Atmosphere = 2.5\np.RandomSeed = 99\n"
                             "Set s = GetCurrentSector()\n";
    // Painted onto the bitmap: white clouds over black, nothing stored.
    ASSERT_TRUE(R.Run(body + "Set b = TBitmap.Create\nb.SetSize 64, 32\nGenerateTransAtmLayer s, p, 16777215, b\n"
                             "n = 0\nFor y = 0 To 31\nFor x = 0 To 63\nIf b.Pixels(x, y) <> 0 Then n = n + 1\n"
                             "Next\nNext\nMsgBox n"))
        << R.LastError();
    EXPECT_GT(std::stoi(R.Printed.back()), 64 * 32 / 2);
    EXPECT_EQ(sector.ImageResources.Count(), 0);
    // An empty bitmap gets nothing, and still nothing is stored.
    ASSERT_TRUE(R.Run(body + "GenerateTransAtmLayer s, p, 16777215, TBitmap.Create")) << R.LastError();
    EXPECT_EQ(sector.ImageResources.Count(), 0);
    // Without a bitmap the layer goes to the sector.
    ASSERT_TRUE(R.Run(body + "GenerateTransAtmLayer s, p, 16777215, Nothing")) << R.LastError();
    EXPECT_EQ(sector.ImageResources.Count(), 1);
}

TEST_F(BitmapNames, AFreedBitmapIsGoneForEveryReference)
{
    for (const char *freeIt : {"b.Free", "FreeObject b"}) {
        R.Errors.clear();
        EXPECT_FALSE(R.Run(std::string("Set b = TBitmap.Create\nSet c = b\n") + freeIt + "\nMsgBox \"freed\"\nx = c.Width"))
            << freeIt;
        EXPECT_EQ(R.Printed.back(), "freed");
        EXPECT_NE(R.LastError().find("Object required"), std::string::npos) << R.LastError();
    }
    EXPECT_FALSE(R.Run("Set b = TBitmap.Create\nb.Free\nGenerateAtmLayer b, 1, 2"));
    EXPECT_EQ(R.Host.ScriptObjects().Count(), 0u);
}

} // namespace
