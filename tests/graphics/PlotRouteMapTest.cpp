// A trip kept by "kalvion-cli plot --save-route" is drawn by "kalvion-cli map
// --routes" in its own colour.
#include "cli/CliApp.h"

#include "GraphicsFixtures.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <QImage>

#include <sstream>
#include <unistd.h>

namespace kalvion {
namespace {

int RunCliArgs(std::vector<std::string> args, std::string *err = nullptr)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, errs;
    const int code = cli::RunCli(args, out, errs);
    if (err)
        *err = errs.str();
    return code;
}

// Pixels close to pure magenta, a colour nothing else on a map uses.
int MagentaPixels(const std::string &file)
{
    const QImage image = QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) > 200)
                ++count;
        }
    return count;
}

TEST(PlotRouteMap, SavedTripIsDrawnInItsColour)
{
    const std::string dir = test::PictureDir();
    const std::string file = dir + "/plot-route-" + std::to_string(::getpid()) + ".VexaDB";
    std::filesystem::remove(file);
    {
        TVexaSector sector;
        const double xs[] = {-8, -3, 2, 7};
        for (int i = 0; i < 4; ++i) {
            auto root = TStellarBody::Create();
            root->Name = "S" + std::to_string(i);
            root->X = xs[i];
            root->Y = i % 2 ? 2 : -2;
            sector.AddSystem(std::move(root));
        }
        std::string error;
        ASSERT_TRUE(SaveToFile(sector, file, false, &error)) << error;
    }
    const std::string before = dir + "/plot-route-before.png", after = dir + "/plot-route-after.png";
    std::string err;
    ASSERT_EQ(RunCliArgs({"map", file, before, "--routes", "--mode", "2", "--width", "400"}, &err), 0) << err;
    ASSERT_EQ(RunCliArgs({"plot", file, "S0", "S3", "--jump", "7", "--save-route", "Trip", "--color", "FF00FF"}, &err), 0)
        << err;
    ASSERT_EQ(RunCliArgs({"map", file, after, "--routes", "--mode", "2", "--width", "400"}, &err), 0) << err;
    EXPECT_EQ(MagentaPixels(before), 0);
    EXPECT_GT(MagentaPixels(after), 100);
    std::filesystem::remove(file);
}

} // namespace
} // namespace kalvion
