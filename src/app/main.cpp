// The Kalvion program: the main window over a sector, or the command-line
// demonstration where there is no display to show it on.
#include "app/MainWindow.h"

int main(int argc, char **argv)
{
    return kalvion::app::RunKalvion(argc, argv);
}
