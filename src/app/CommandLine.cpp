#include "app/CommandLine.h"

#include "playback/SongLoudness.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

namespace tavlo {

namespace {

constexpr const char* kUsage =
    "usage: tavlo [--fresh] [--events FILE.tmg] [--web ADDRESS:PORT|off] [FILE]\n"
    "       tavlo --headless [--fresh] [--events FILE.tmg] [--loudness LUFS] [--auto-cue on|off] [--stream URL]\n"
    "             [--fallback LIST] [--web ADDRESS:PORT|off] [FILE]\n"
    "       tavlo --render OUT.wav [--seconds N] [--start HH:MM:SS] [--fresh] [--events FILE.tmg] [--loudness LUFS]\n"
    "             [--auto-cue on|off] [--stream URL] [--fallback LIST] [--web ADDRESS:PORT] [FILE]\n"
    "       tavlo --help | --version\n"
    "FILE is an audio file (MP3, WAV, AIFF, FLAC, Ogg Vorbis, Opus, AAC or ALAC) or an M3U, M3U8 or PLS\n"
    "playlist; everything after the options is the file name. Without FILE the station resumes where it\n"
    "was when it last ran (its lists, the song on air and its position, a break, the events), as kept in\n"
    "$XDG_STATE_HOME/tavlo.\n"
    "\n"
    "  --headless          play FILE in the music window without windows, one line per song started\n"
    "  --render OUT.wav    render the station's output to a WAV file, faster than real time\n"
    "  --seconds N         with --render: render N seconds (60 unless given)\n"
    "  --start HH:MM:SS    with --render: the station clock's time of day at the first sample\n"
    "  --events FILE.tmg   open this event list in the scheduler at start-up\n"
    "  --fresh             start empty instead of resuming\n"
    "  --loudness LUFS     with --headless or --render: play every song at this loudness, -18 for example\n"
    "  --auto-cue on|off   with --headless or --render: play songs in both windows from where their sound\n"
    "                      starts to where their ending fades (on), or whole less the cuts (off),\n"
    "                      whatever Options > Auto Cue says\n"
    "  --stream URL        with --headless or --render: stream to icecast://USER@HOST:PORT/MOUNT\n"
    "  --fallback LIST     with --headless or --render: play LIST (a playlist, a folder of audio files or\n"
    "                      one audio file) whenever the music list has nothing playable, instead of the\n"
    "                      fallback list chosen in the settings\n"
    "  --web ADDRESS:PORT  run the web remote (the page and the API) there, 127.0.0.1:8091 for example;\n"
    "                      --web off runs none. --headless runs it at 127.0.0.1:8091 unless told otherwise;\n"
    "                      a desktop as Options > Web Remote... says\n"
    "  -h, --help          print this text and exit\n"
    "  -v, --version       print the program's version and exit\n"
    "\n"
    "--headless and --render need something to play: a FILE, --events, --fallback or a kept station.\n"
    "Without a display, use --headless or --render. The stream's password comes from the environment\n"
    "variable TAVLO_STREAM_PASSWORD or from the settings, never from the command line; so does the web\n"
    "remote's token, from TAVLO_WEB_TOKEN or the settings.\n";

// What is wrong with the command line, or nothing; help and version are
// told apart by cl.outcome.
QString read(const QStringList& args, CommandLine& cl)
{
    QCommandLineParser parser;
    // The first word that is not an option starts the file name, and the
    // file name runs to the end of the line, spaces, dashes and all.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption headless(QStringLiteral("headless"));
    const QCommandLineOption render(QStringLiteral("render"), QString(), QStringLiteral("OUT.wav"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QString(), QStringLiteral("N"));
    const QCommandLineOption events(QStringLiteral("events"), QString(), QStringLiteral("FILE.tmg"));
    const QCommandLineOption start(QStringLiteral("start"), QString(), QStringLiteral("HH:MM:SS"));
    const QCommandLineOption loudness(QStringLiteral("loudness"), QString(), QStringLiteral("LUFS"));
    const QCommandLineOption stream(QStringLiteral("stream"), QString(), QStringLiteral("URL"));
    const QCommandLineOption autoCue(QStringLiteral("auto-cue"), QString(), QStringLiteral("on|off"));
    const QCommandLineOption fresh(QStringLiteral("fresh"));
    const QCommandLineOption fallback(QStringLiteral("fallback"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption web(QStringLiteral("web"), QString(), QStringLiteral("ADDRESS:PORT"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions(
        {headless, render, seconds, events, start, stream, loudness, autoCue, fresh, fallback, web, help, version});
    if (!parser.parse(args))
        return parser.errorText();
    if (parser.isSet(help)) {
        cl.outcome = CommandLine::Outcome::Help;
        return QString();
    }
    if (parser.isSet(version)) {
        cl.outcome = CommandLine::Outcome::Version;
        return QString();
    }
    if (parser.isSet(headless) && parser.isSet(render))
        return QStringLiteral("--headless and --render exclude each other");
    if (parser.isSet(headless))
        cl.mode = CommandLine::Mode::Headless;
    if (parser.isSet(render)) {
        cl.mode = CommandLine::Mode::Render;
        cl.wavPath = parser.value(render);
    }
    if (parser.isSet(seconds)) {
        if (cl.mode != CommandLine::Mode::Render)
            return QStringLiteral("--seconds goes with --render");
        bool ok = false;
        cl.seconds = parser.value(seconds).toDouble(&ok);
        if (!ok || !(cl.seconds > 0) || cl.seconds > 366.0 * 86400)
            return QStringLiteral("--seconds needs a number of seconds above 0, not \"%1\"").arg(parser.value(seconds));
    }
    if (parser.isSet(start)) {
        if (cl.mode != CommandLine::Mode::Render)
            return QStringLiteral("--start goes with --render");
        const QTime t = QTime::fromString(parser.value(start), QStringLiteral("H:mm:ss"));
        if (!t.isValid())
            return QStringLiteral("--start needs a time of day as HH:MM:SS, not \"%1\"").arg(parser.value(start));
        cl.start = t;
    }
    if (parser.isSet(stream)) {
        if (cl.mode == CommandLine::Mode::Gui)
            return QStringLiteral("--stream goes with --headless or --render; on a desktop use Options > Streaming...");
        StreamTarget target;
        const QString why = StreamTarget::fromUrl(parser.value(stream), target);
        if (!why.isEmpty())
            return why;
        cl.stream = target;
    }
    if (parser.isSet(loudness)) {
        if (cl.mode == CommandLine::Mode::Gui)
            return QStringLiteral(
                "--loudness goes with --headless or --render; on a desktop use Options > Normalize Loudness");
        bool ok = false;
        const double lufs = parser.value(loudness).toDouble(&ok);
        if (!ok || !SongLoudness::plausibleTarget(lufs))
            return QStringLiteral("--loudness needs a target in LUFS above -70 and at most 0, such as -18, not \"%1\"")
                .arg(parser.value(loudness));
        cl.loudness = lufs;
    }
    if (parser.isSet(autoCue)) {
        if (cl.mode == CommandLine::Mode::Gui)
            return QStringLiteral("--auto-cue goes with --headless or --render; on a desktop use Options > Auto Cue");
        const QString v = parser.value(autoCue);
        if (v != QLatin1String("on") && v != QLatin1String("off"))
            return QStringLiteral("--auto-cue takes on or off, not \"%1\"").arg(v);
        cl.autoCue = v == QLatin1String("on");
    }
    if (parser.isSet(fallback)) {
        if (cl.mode == CommandLine::Mode::Gui)
            return QStringLiteral(
                "--fallback goes with --headless or --render; on a desktop use Options > Fallback List...");
        cl.fallback = parser.value(fallback);
        // A typo shows now rather than as silence on the day the list fails.
        const QFileInfo info(cl.fallback);
        if (!info.exists() || !info.isReadable())
            return QStringLiteral("the fallback list \"%1\" cannot be read").arg(cl.fallback);
    }
    if (parser.isSet(web)) {
        const QString value = parser.value(web);
        if (value == QLatin1String("off")) {
            cl.webOff = true;
        } else {
            QString why;
            cl.web = WebAddress::parse(value, &why);
            if (!cl.web)
                return why;
        }
    }
    if (parser.isSet(events)) {
        cl.events = parser.value(events);
        // Opened, not read: the scheduler reads it once, at start-up.
        QFile file(cl.events);
        if (QFileInfo(cl.events).isDir() || !file.open(QIODevice::ReadOnly))
            return QStringLiteral("the event file \"%1\" cannot be read").arg(cl.events);
    }
    cl.file = parser.positionalArguments().join(QLatin1Char(' '));
    cl.fresh = parser.isSet(fresh);
    // Without a file a console resumes, which only the kept state can tell.
    if (cl.mode != CommandLine::Mode::Gui && cl.fresh && cl.file.isEmpty() && cl.events.isEmpty()
        && cl.fallback.isEmpty())
        return QStringLiteral("nothing to play: give a FILE, --events or --fallback");
    return QString();
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& args)
{
    CommandLine cl;
    cl.error = read(args, cl);
    if (!cl.error.isEmpty())
        cl.outcome = Outcome::Error;
    return cl;
}

const char* CommandLine::usage() { return kUsage; }

}  // namespace tavlo
