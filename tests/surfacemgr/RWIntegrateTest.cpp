// The external terrain program: the command line built for a planet, and a
// fake program (a shell script) that records its arguments and writes the
// bitmap the real one would.
#include "SurfaceTestSupport.h"

#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "surface/manager/RWIntegrate.h"
#include "surface/manager/SurfaceMapMgr.h"
#include "surface/manager/SurfaceMapThreads.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <sys/stat.h>

namespace kalvion {
namespace {

using test::NewGuid;
using test::ReadAll;
using test::WaitUntil;
using test::WriteAll;

// Records its arguments, one a line, and its working folder; copies the
// sample bitmap of its own folder to the -image= file.
constexpr const char *FAKE_PROGRAM = R"(#!/bin/sh
printf '%s\n' "$@" > args.txt
pwd > cwd.txt
for a in "$@"; do
  case "$a" in -image=*) cp sample.bmp "${a#-image=}" ;; esac
done
)";

class RWIntegrateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir_.isValid());
        Root_ = Dir_.path().toStdString() + "/";
        std::filesystem::create_directories(Root_ + "prog");
        std::filesystem::create_directories(Root_ + "worlds");
        std::filesystem::create_directories(Root_ + "colours");
        Program_ = Root_ + "prog/fake-terrain";
        WriteScript(Program_, FAKE_PROGRAM);
        QImage sample(8, 4, QImage::Format_RGB32);
        sample.fill(qRgb(10, 200, 30));
        sample.setPixel(1, 1, qRgb(255, 0, 0));
        ASSERT_TRUE(sample.save(QString::fromStdString(Root_ + "prog/sample.bmp"), "BMP"));
        Sample_ = sample;
    }

    static void WriteScript(const std::string &path, const char *text)
    {
        WriteAll(path, text);
        ::chmod(path.c_str(), 0755);
    }

    TRWIntegrate Earth()
    {
        TRWIntegrate rw;
        rw.ProgramFile = Program_;
        rw.ColoringFolder = Root_ + "colours/";
        rw.SaveFolder = Root_ + "worlds/";
        rw.WorldName = NewGuid(1);
        rw.Seed = 42;
        rw.Radius = 6378;
        rw.Water = 0.7;
        rw.Albedo = 0.3;
        rw.GreenhouseRatio = 0.5;
        rw.Habitability = HAB_HOSPITABLE;
        rw.Temperature = 288;
        rw.Distance = RW_ASTRONOMICAL_UNIT_KM;
        rw.StarLuminosity = 1.0;
        return rw;
    }

    std::vector<std::string> RecordedArgs() const
    {
        std::vector<std::string> lines;
        std::string text = ReadAll(Root_ + "prog/args.txt");
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t nl = text.find('\n', at);
            lines.push_back(text.substr(at, nl - at));
            at = nl == std::string::npos ? text.size() : nl + 1;
        }
        return lines;
    }

    QTemporaryDir Dir_;
    std::string Root_, Program_;
    QImage Sample_;
};

const char *const EARTH_PARMS = " -parms=42,40074,70,10000,-10000,2,1,0,0,0,0,0,0,1,-300,,0.99864,2,13,1,2,0,1,1,1,1,,,,"
                                "1,1,,,1,0.5,0.3,,50,1,, -parms=temp=14.85,60,1";

TEST_F(RWIntegrateTest, TheCommandLineIsThePlanetsDescription)
{
    TRWIntegrate rw = Earth();
    const std::string s = Root_ + "worlds/", n = NewGuid(1);
    const std::string expected = "\"" + s + n + ".rww\" \"-image=" + s + n + ".bmp\" \"-imgwidth=512\"   \"-color=" +
                                 "Coloring/globe.lgt\" -colortype=8" + EARTH_PARMS;
    EXPECT_EQ(rw.MapParameters(512), expected);
    EXPECT_DOUBLE_EQ(rw.Insolation, 1.0);  // inverse square: one at one AU
}

TEST_F(RWIntegrateTest, InsolationFallsWithTheSquareOfTheDistance)
{
    TRWIntegrate rw = Earth();
    rw.Distance = 2 * RW_ASTRONOMICAL_UNIT_KM;
    rw.ParameterBlock();
    EXPECT_DOUBLE_EQ(rw.Insolation, 0.25);
    rw.Distance = 0;  // no distance: the star's own value, never an infinity
    rw.ParameterBlock();
    EXPECT_DOUBLE_EQ(rw.Insolation, 1.0);
}

TEST_F(RWIntegrateTest, GreenhouseRatioIsWrittenBeforeItIsRaised)
{
    TRWIntegrate rw = Earth();
    rw.GreenhouseRatio = 2.0;
    EXPECT_NE(rw.ParameterBlock().find(",1,2,0.3,,50,1,, -parms=temp=14.85,15,1"), std::string::npos);
    rw.GreenhouseRatio = 0.5;
    EXPECT_NE(rw.ParameterBlock().find(",1,0.5,0.3,,50,1,, -parms=temp=14.85,60,1"), std::string::npos);
}

TEST_F(RWIntegrateTest, ColouringFollowsHabitabilityAndTheUsersFiles)
{
    TRWIntegrate rw = Earth();
    rw.Habitability = HAB_HABITABLE;
    EXPECT_EQ(rw.ColoringOption(), " \"-color=Coloring/mars.lgt\" -colortype=1");
    rw.Habitability = HAB_INHOSPITABLE;
    EXPECT_EQ(rw.ColoringOption(), " \"-color=Coloring/moon.lgt\" -colortype=1");
    WriteAll(Root_ + "colours/hospitable.lgt", "x");
    EXPECT_EQ(rw.ColoringOption(), " \"-color=" + Root_ + "colours/hospitable.lgt\" -colortype=1");
    rw.Habitability = HAB_HOSPITABLE;
    EXPECT_EQ(rw.ColoringOption(), " \"-color=" + Root_ + "colours/hospitable.lgt\" -colortype=1");
    rw.Habitability = HAB_HABITABLE;
    WriteAll(Root_ + "colours/habitable.lgt", "x");
    EXPECT_EQ(rw.ColoringOption(), " \"-color=" + Root_ + "colours/habitable.lgt\" -colortype=1");
}

TEST(RWIntegrateText, NumbersAreWrittenInTheirShortestDecimalForm)
{
    EXPECT_EQ(RWDecimal(288.0 - 273.15), "14.85");
    EXPECT_EQ(RWDecimal(0.5), "0.5");
    EXPECT_EQ(RWDecimal(-3.0), "-3");
    EXPECT_EQ(RWDecimal(1e-7), "0.0000001");
    EXPECT_EQ(RWDecimal(-0.0), "0");
    EXPECT_EQ(RWDecimal(std::nan("")), "0");
    EXPECT_EQ(RWDecimal(123456789012.5), "123456789012.5");
}

TEST(RWIntegrateText, CommandLinesSplitAtBlanksOutsideQuotes)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine(""), V{});
    EXPECT_EQ(SplitCommandLine("  a   b "), (V{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("\"a b\" c\"d e\""), (V{"a b", "cd e"}));
    EXPECT_EQ(SplitCommandLine("\"-color=Coloring\\mars.lgt\" x"), (V{"-color=Coloring\\mars.lgt", "x"}));
    EXPECT_EQ(SplitCommandLine("a\\\"b \"\" c"), (V{"a\"b", "", "c"}));
    EXPECT_EQ(SplitCommandLine("\"unclosed and; $(rm -rf)"), (V{"unclosed and; $(rm -rf)"}));
}

TEST(RWIntegrateText, EnvironmentVariablesInTheProgramPathAreExpanded)
{
    setenv("KALVION_RW_TEST", "/opt/rw", 1);
    EXPECT_EQ(ExpandEnvironment("$KALVION_RW_TEST/bin"), "/opt/rw/bin");
    EXPECT_EQ(ExpandEnvironment("${KALVION_RW_TEST}/x"), "/opt/rw/x");
    EXPECT_EQ(ExpandEnvironment("%KALVION_RW_TEST%\\x"), "/opt/rw\\x");
    EXPECT_EQ(ExpandEnvironment("$KALVION_NOT_SET_ANYWHERE/x"), "$KALVION_NOT_SET_ANYWHERE/x");
    EXPECT_EQ(ExpandEnvironment("100%"), "100%");
}

TEST_F(RWIntegrateTest, TheProgramGetsTheArgumentListAndItsBitmapComesBackAsPng)
{
    TRWIntegrate rw = Earth();
    TMapBytes png;
    ASSERT_TRUE(rw.GenerateSurfaceMap(512, png)) << rw.ErrorText;
    EXPECT_EQ(RecordedArgs(), SplitCommandLine(Earth().MapParameters(512)));
    const std::vector<std::string> args = RecordedArgs();
    ASSERT_EQ(args.size(), 7u);
    EXPECT_EQ(args[0], Root_ + "worlds/" + NewGuid(1) + ".rww");
    EXPECT_EQ(args[3], "-color=Coloring/globe.lgt");
    EXPECT_EQ(args[6], "-parms=temp=14.85,60,1");
    // It ran in its own folder.
    EXPECT_EQ(ReadAll(Root_ + "prog/cwd.txt"), QDir(QString::fromStdString(Root_ + "prog")).canonicalPath().toStdString() + "\n");
    const QImage back = QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), Sample_.convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(std::filesystem::exists(Root_ + "worlds/" + NewGuid(1) + ".bmp"));
}

TEST_F(RWIntegrateTest, AStaleBitmapIsNotTakenForTheNewImage)
{
    WriteScript(Program_, "#!/bin/sh\nexit 0\n");
    const std::string stale = Root_ + "worlds/" + NewGuid(1) + ".bmp";
    ASSERT_TRUE(Sample_.save(QString::fromStdString(stale), "BMP"));
    TRWIntegrate rw = Earth();
    TMapBytes png;
    EXPECT_FALSE(rw.GenerateSurfaceMap(512, png));
    EXPECT_TRUE(png.empty());
    EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST_F(RWIntegrateTest, AMissingProgramGivesTheMessageUnlessQuiet)
{
    TRWIntegrate rw = Earth();
    rw.ProgramFile = Root_ + "nowhere/rw";
    std::vector<std::string> messages;
    rw.OnMessage = [&](const std::string &m) { messages.push_back(m); };
    TMapBytes png;
    EXPECT_FALSE(rw.GenerateSurfaceMap(512, png));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The Ridgeworks program file was not found.  To find the program manually, please open "
                           "Kalvion's preferences window by selecting File - Preferences from the main menu");
    rw.Quiet = true;
    EXPECT_FALSE(rw.GenerateSurfaceMap(512, png));
    EXPECT_EQ(messages.size(), 1u);
    // The alternative file is tried when the first is missing.
    rw.AltProgramFile = Program_;
    EXPECT_TRUE(rw.GenerateSurfaceMap(512, png));
}

TEST_F(RWIntegrateTest, AProcessThatCannotBeCreatedIsReported)
{
    TRWIntegrate rw = Earth();
    WriteAll(Root_ + "prog/not-executable", "data");
    EXPECT_EQ(rw.ExecuteAndWait(Root_ + "prog/not-executable", "a b"), -1);
    EXPECT_EQ(rw.ErrorText.rfind("could not create process " + Root_ + "prog/not-executable a b: ", 0), 0u)
        << rw.ErrorText;
}

TEST_F(RWIntegrateTest, AWorldNameThatIsNotAGuidRunsNothing)
{
    TRWIntegrate rw = Earth();
    rw.WorldName = "x\" \"-evil";
    TMapBytes png;
    EXPECT_FALSE(rw.GenerateSurfaceMap(512, png));
    EXPECT_FALSE(std::filesystem::exists(Root_ + "prog/args.txt"));
}

TEST_F(RWIntegrateTest, TheManagerUsesTheProgramForTerrestrialPlanets)
{
    TSurfaceMapMgr mgr;
    mgr.SetExternalProgram(true, Program_);
    mgr.SetSaveFolder(Root_ + "worlds");
    mgr.SetProgramFolder(Root_ + "colours/");
    TStellarBody planet;
    planet.IDString = NewGuid(2);
    planet.TypeID = BODY_TYPE_TERRESTRIAL;
    planet.Radius = 6378;
    mgr.RequestMap(planet);
    ASSERT_TRUE(WaitUntil([&] { return mgr.ActiveCount() == 0; }));
    ASSERT_GE(mgr.IndexOfMap(planet.IDString), 0);
    EXPECT_EQ(RecordedArgs().at(2), "-imgwidth=512");
    EXPECT_EQ(mgr.CurrentMap(planet.IDString).convertToFormat(QImage::Format_RGB32),
              Sample_.convertToFormat(QImage::Format_RGB32));
}

TEST_F(RWIntegrateTest, AHungProgramIsKilledWhenTheManagerStops)
{
    WriteScript(Program_, "#!/bin/sh\necho started > started.txt\nexec sleep 600\n");
    auto mgr = std::make_unique<TSurfaceMapMgr>();
    mgr->SetExternalProgram(true, Program_);
    mgr->SetSaveFolder(Root_ + "worlds");
    TSurfaceMapJob job;
    job.IDString = NewGuid(3);
    job.TypeID = BODY_TYPE_TERRESTRIAL;
    mgr->RequestJob(job);
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(Root_ + "prog/started.txt"); }));
    mgr->WaitAll();  // returns only because the program was killed
    EXPECT_EQ(mgr->ActiveCount(), 0);
    EXPECT_EQ(mgr->IndexOfMap(job.IDString), -1);
}

TEST_F(RWIntegrateTest, ARelativeOrProgramFolderSaveFolderFallsBackToTheUsersDataFolder)
{
    test::TUserDataFolder data;
    TSurfaceMapMgr mgr;
    mgr.SetProgramFolder(Root_ + "prog/");
    EXPECT_EQ(mgr.SaveFolder(), data.Path() + "kalvion/RWPlanets/");
    mgr.SetSaveFolder(Root_ + "prog/worlds");
    EXPECT_EQ(mgr.SaveFolder(), data.Path() + "kalvion/RWPlanets/");
    mgr.SetSaveFolder("relative/worlds");
    EXPECT_EQ(mgr.SaveFolder(), data.Path() + "kalvion/RWPlanets/");
    mgr.SetSaveFolder(Root_ + "worlds");
    EXPECT_EQ(mgr.SaveFolder(), Root_ + "worlds/");
}

} // namespace
} // namespace kalvion
