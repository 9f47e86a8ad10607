#include "cli/CliApp.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace kalvion::cli {

namespace {

// Qt's own notes (a missing XDG_RUNTIME_DIR, pen widths it adjusts) say
// nothing the user of a command can act on; its critical and fatal messages
// still go to standard error.
void CliMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtCriticalMsg && type != QtFatalMsg)
        return;
    std::fprintf(stderr, "kalvion-cli: %s\n", message.toLocal8Bit().constData());
}

} // namespace

void InstallCliMessageHandler() { qInstallMessageHandler(CliMessageHandler); }

} // namespace kalvion::cli
