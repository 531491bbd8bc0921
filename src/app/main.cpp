// The program's entry: the station with its views on a desktop, or the same
// windows without views (--headless), or rendered to a WAV file in audio
// time (--render).

#include "app/AboutBox.h"
#include "app/CommandLine.h"
#include "app/ConsoleProgram.h"
#include "app/DesktopProgram.h"

#include <QStringList>

#include <cstdio>

using namespace tavlo;

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine cl = CommandLine::parse(args);
    switch (cl.outcome) {
    case CommandLine::Outcome::Help:
        std::fputs(CommandLine::usage(), stdout);
        return 0;
    case CommandLine::Outcome::Version: {
        // The project's version, as the about box shows it.
        const AboutBox::Version v = AboutBox::programVersion();
        std::printf("tavlo %d.%d.%d\n", v.major, v.minor, v.revision);
        return 0;
    }
    case CommandLine::Outcome::Error:
        std::fprintf(stderr, "tavlo: %s\n", cl.error.toLocal8Bit().constData());
        std::fputs(CommandLine::usage(), stderr);
        return 2;
    case CommandLine::Outcome::Run:
        break;
    }
    switch (cl.mode) {
    case CommandLine::Mode::Headless:
        return runHeadless(argc, argv, cl);
    case CommandLine::Mode::Render:
        return runRender(argc, argv, cl);
    case CommandLine::Mode::Gui:
        break;
    }
    return runDesktop(argc, argv, cl);
}
