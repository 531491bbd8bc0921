// The command line as main reads it: what each refused line is told, that
// --help and --version are answers rather than errors, and what a good line
// hands the station.
#include "app/CommandLine.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

using namespace tavlo;

namespace {

CommandLine parse(const QString& line)
{
    QStringList args{QStringLiteral("tavlo")};
    if (!line.isEmpty())
        args += line.split(QLatin1Char(' '));
    return CommandLine::parse(args);
}

}  // namespace

TEST(CommandLine, RefusesEachBadLineWithItsMessage)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.tmg"));
    const struct {
        QString line;
        QString error;
    } cases[] = {
        {QStringLiteral("--bogus a.mp3"), QStringLiteral("Unknown option 'bogus'.")},
        {QStringLiteral("--render"), QStringLiteral("Missing value after '--render'.")},
        {QStringLiteral("--headless --render x.wav a.mp3"), QStringLiteral("--headless and --render exclude each other")},
        {QStringLiteral("--seconds 5 a.mp3"), QStringLiteral("--seconds goes with --render")},
        {QStringLiteral("--render x.wav --seconds 0 a.mp3"),
         QStringLiteral("--seconds needs a number of seconds above 0, not \"0\"")},
        {QStringLiteral("--render x.wav --seconds -3 a.mp3"),
         QStringLiteral("--seconds needs a number of seconds above 0, not \"-3\"")},
        {QStringLiteral("--render x.wav --seconds ten a.mp3"),
         QStringLiteral("--seconds needs a number of seconds above 0, not \"ten\"")},
        {QStringLiteral("--render x.wav --seconds nan a.mp3"),
         QStringLiteral("--seconds needs a number of seconds above 0, not \"nan\"")},
        // Over 366 days: longer than any render is meant to be.
        {QStringLiteral("--render x.wav --seconds 31622401 a.mp3"),
         QStringLiteral("--seconds needs a number of seconds above 0, not \"31622401\"")},
        {QStringLiteral("--headless --start 12:00:00 a.mp3"), QStringLiteral("--start goes with --render")},
        {QStringLiteral("--render x.wav --start 25:00:00 a.mp3"),
         QStringLiteral("--start needs a time of day as HH:MM:SS, not \"25:00:00\"")},
        {QStringLiteral("--render x.wav --start 12:00 a.mp3"),
         QStringLiteral("--start needs a time of day as HH:MM:SS, not \"12:00\"")},
        {QStringLiteral("--stream icecast://host/live a.mp3"),
         QStringLiteral("--stream goes with --headless or --render; on a desktop use Options > Streaming...")},
        {QStringLiteral("--loudness -18 a.mp3"),
         QStringLiteral("--loudness goes with --headless or --render; on a desktop use Options > Normalize Loudness")},
        {QStringLiteral("--web 8091 a.mp3"),
         QStringLiteral("the web remote's address is ADDRESS:PORT, such as 127.0.0.1:8091, not \"8091\"")},
        {QStringLiteral("--headless --web example.org:80 a.mp3"),
         QStringLiteral("the web remote listens on an IP address (127.0.0.1, 0.0.0.0, [::1] ...), not \"example.org\"")},
        {QStringLiteral("--headless --loudness -70 a.mp3"),
         QStringLiteral("--loudness needs a target in LUFS above -70 and at most 0, such as -18, not \"-70\"")},
        {QStringLiteral("--headless --loudness 1 a.mp3"),
         QStringLiteral("--loudness needs a target in LUFS above -70 and at most 0, such as -18, not \"1\"")},
        {QStringLiteral("--headless --loudness loud a.mp3"),
         QStringLiteral("--loudness needs a target in LUFS above -70 and at most 0, such as -18, not \"loud\"")},
        {QStringLiteral("--events ") + missing, QStringLiteral("the event file \"%1\" cannot be read").arg(missing)},
        {QStringLiteral("--events ") + dir.path(),
         QStringLiteral("the event file \"%1\" cannot be read").arg(dir.path())},
        // Without a file a console resumes; --fresh leaves it nothing.
        {QStringLiteral("--headless --fresh"), QStringLiteral("nothing to play: give a FILE, --events or --fallback")},
        {QStringLiteral("--render x.wav --seconds 5 --fresh"),
         QStringLiteral("nothing to play: give a FILE, --events or --fallback")},
        {QStringLiteral("--fallback ") + dir.path(),
         QStringLiteral("--fallback goes with --headless or --render; on a desktop use Options > Fallback List...")},
        {QStringLiteral("--headless --fallback ") + missing,
         QStringLiteral("the fallback list \"%1\" cannot be read").arg(missing)},
    };
    for (const auto& c : cases) {
        const CommandLine cl = parse(c.line);
        EXPECT_EQ(cl.outcome, CommandLine::Outcome::Error) << qPrintable(c.line);
        EXPECT_EQ(cl.error, c.error) << qPrintable(c.line);
    }

    // What is wrong with a stream's address is StreamTarget's answer, which never repeats a password.
    const QString url = QStringLiteral("icecast://source:pw@host:8000/live");
    StreamTarget ignored;
    const CommandLine cl = parse(QStringLiteral("--headless --stream %1 a.mp3").arg(url));
    EXPECT_EQ(std::pair(cl.outcome, cl.error),
              std::pair(CommandLine::Outcome::Error, StreamTarget::fromUrl(url, ignored)));
}

TEST(CommandLine, HelpAndVersionAreAnswersNotErrorsWhateverElseTheLineHolds)
{
    const struct {
        QString line;
        CommandLine::Outcome outcome;
    } cases[] = {
        {QStringLiteral("--help"), CommandLine::Outcome::Help},
        {QStringLiteral("-h"), CommandLine::Outcome::Help},
        {QStringLiteral("--headless --render x.wav --help"), CommandLine::Outcome::Help},
        {QStringLiteral("--seconds 0 -h a.mp3"), CommandLine::Outcome::Help},
        {QStringLiteral("--version"), CommandLine::Outcome::Version},
        {QStringLiteral("-v"), CommandLine::Outcome::Version},
        {QStringLiteral("--headless --version"), CommandLine::Outcome::Version},
        // An option the program does not know is refused first.
        {QStringLiteral("--bogus --help"), CommandLine::Outcome::Error},
        // After the file name, --help is part of the name.
        {QStringLiteral("a.mp3 --help"), CommandLine::Outcome::Run},
    };
    for (const auto& c : cases) {
        const CommandLine cl = parse(c.line);
        EXPECT_EQ(cl.outcome, c.outcome) << qPrintable(c.line);
        EXPECT_EQ(cl.error.isEmpty(), c.outcome != CommandLine::Outcome::Error) << qPrintable(c.line);
    }
}

TEST(CommandLine, AGoodLineHandsTheStationItsModeOptionsAndTheRestAsTheFileName)
{
    QTemporaryDir dir;
    const QString events = dir.filePath(QStringLiteral("day.tmg"));
    {
        QFile file(events);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    CommandLine cl = parse(QString());
    EXPECT_EQ(cl.outcome, CommandLine::Outcome::Run);
    EXPECT_EQ(cl.mode, CommandLine::Mode::Gui);
    EXPECT_TRUE(cl.file.isEmpty());
    EXPECT_EQ(cl.seconds, 60);

    // The file name runs to the end of the line, spaces and dashes included.
    cl = parse(QStringLiteral("--events %1 My Songs --headless.m3u").arg(events));
    EXPECT_EQ(cl.mode, CommandLine::Mode::Gui);
    EXPECT_EQ(cl.events, events);
    EXPECT_EQ(cl.file, QStringLiteral("My Songs --headless.m3u"));

    // The web remote: an address in every mode, or off.
    cl = parse(QStringLiteral("--headless --web 0.0.0.0:8080 a.mp3"));
    EXPECT_EQ(cl.web, (WebAddress{QStringLiteral("0.0.0.0"), 8080}));
    EXPECT_FALSE(cl.webOff);
    cl = parse(QStringLiteral("--headless --web off a.mp3"));
    EXPECT_FALSE(cl.web);
    EXPECT_TRUE(cl.webOff);

    cl = parse(QStringLiteral("--render out.wav --seconds 12.5 --start 9:05:00 --loudness -18 list.m3u"));
    EXPECT_EQ(cl.outcome, CommandLine::Outcome::Run);
    EXPECT_EQ(cl.mode, CommandLine::Mode::Render);
    EXPECT_EQ(cl.wavPath, QStringLiteral("out.wav"));
    EXPECT_EQ(cl.seconds, 12.5);
    EXPECT_EQ(cl.start, QTime(9, 5));
    EXPECT_EQ(cl.loudness, -18.0);
    EXPECT_FALSE(cl.stream);
    EXPECT_EQ(cl.file, QStringLiteral("list.m3u"));

    // An event file alone is enough to run on.
    cl = parse(QStringLiteral("--headless --stream icecast://dj@radio.example.org:8010/night --events ") + events);
    EXPECT_EQ(cl.outcome, CommandLine::Outcome::Run);
    EXPECT_EQ(cl.mode, CommandLine::Mode::Headless);
    EXPECT_TRUE(cl.file.isEmpty());
    ASSERT_TRUE(cl.stream);
    EXPECT_EQ(std::pair(cl.stream->displayText(), cl.stream->user),
              std::pair(QStringLiteral("radio.example.org:8010/night"), QStringLiteral("dj")));

    // So is a fallback list alone, a folder or a playlist.
    const QString playlist = dir.filePath(QStringLiteral("safe.m3u"));
    {
        QFile file(playlist);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    for (const QString& fallback : {dir.path(), playlist}) {
        cl = parse(QStringLiteral("--render out.wav --fallback ") + fallback);
        EXPECT_EQ(std::tuple(cl.outcome, cl.mode, cl.fallback, cl.file),
                  std::tuple(CommandLine::Outcome::Run, CommandLine::Mode::Render, fallback, QString()));
    }
    EXPECT_EQ(parse(QStringLiteral("--headless --fallback %1 a.mp3").arg(dir.path())).file, QStringLiteral("a.mp3"));
}
