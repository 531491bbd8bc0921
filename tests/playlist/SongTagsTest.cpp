// Tags as the encoders and taggers a station uses write them, read into the
// list's columns.
#include "playlist/PlaylistEdits.h"
#include "playlist/SongTags.h"

#include "fakes/TestFiles.h"

#include <QDataStream>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

using namespace tavlo;
using namespace tavlo::test;

namespace {

QStringList args(std::initializer_list<QString> list) { return QStringList(list); }

// An ID3v2.3 frame: id, big-endian size, no flags, then the body.
QByteArray id3v23Frame(const char* id, const QByteArray& body, quint32 claimedSize = 0)
{
    QByteArray frame(id, 4);
    QDataStream out(&frame, QIODevice::Append);
    out << (claimedSize ? claimedSize : static_cast<quint32>(body.size())) << quint16(0);
    return frame + body;
}

// An ID3v2.3 tag holding `frames`, in front of `audio`.
QByteArray id3v23Tag(const QByteArray& frames, const QByteArray& audio)
{
    const auto size = static_cast<quint32>(frames.size());
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag.append(static_cast<char>((size >> shift) & 0x7F));
    return tag + frames + audio;
}

}  // namespace

TEST(SongTags, EveryTagFormatInEveryEncodingFillsTheColumns)
{
    // The tools read their arguments in the locale's encoding.
    qputenv("LC_ALL", "C.UTF-8");
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    ASSERT_TRUE(runTool("sox", args({QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-b"),
                                     QStringLiteral("16"), QStringLiteral("-c"), QStringLiteral("2"), wav, QStringLiteral("synth"),
                                     QStringLiteral("0.2"), QStringLiteral("sine"), QStringLiteral("440")})));
    const QString cafe = QStringLiteral("Caf\u00e9 Tr\u00edo");
    const QString unicode = QStringLiteral("\u00dcn\u00ef c\u00f4de \u03a9");
    const QString artist = QStringLiteral("\u00c5se & \u0141uk");
    auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    auto ffmpeg = [&](const QString& out, QStringList extra) {
        QStringList a{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), wav};
        a << extra << QStringLiteral("-metadata") << QStringLiteral("title=") + unicode << QStringLiteral("-metadata")
          << QStringLiteral("artist=") + artist << QStringLiteral("-metadata") << QStringLiteral("album=Sessions")
          << QStringLiteral("-metadata") << QStringLiteral("date=2024") << QStringLiteral("-metadata")
          << QStringLiteral("genre=Jazz") << out;
        return runTool("ffmpeg", a);
    };

    struct Case {
        const char* file;
        bool made;
        SongTags expected;
    };
    const QString noComment;
    const std::vector<Case> cases = {
        {"latin1-v23.mp3",
         runTool("lame", args({QStringLiteral("--quiet"), QStringLiteral("--id3v2-only"), QStringLiteral("--id3v2-latin1"),
                               QStringLiteral("--tt"), cafe, QStringLiteral("--ta"), QStringLiteral("Band"), QStringLiteral("--tl"),
                               QStringLiteral("Live"), QStringLiteral("--ty"), QStringLiteral("1999"), QStringLiteral("--tg"),
                               QStringLiteral("Rock"), QStringLiteral("--tc"), QStringLiteral("Good take"), wav,
                               path("latin1-v23.mp3")})),
         {cafe, QStringLiteral("Band"), QStringLiteral("Live"), QStringLiteral("1999"), QStringLiteral("Good take"),
          QStringLiteral("Rock")}},
        {"utf16-v23.mp3",
         runTool("lame", args({QStringLiteral("--quiet"), QStringLiteral("--id3v2-only"), QStringLiteral("--id3v2-utf16"),
                               QStringLiteral("--tt"), unicode, QStringLiteral("--ta"), artist, wav, path("utf16-v23.mp3")})),
         {unicode, artist, {}, {}, {}, {}}},
        {"utf8-v24.mp3", ffmpeg(path("utf8-v24.mp3"), {QStringLiteral("-id3v2_version"), QStringLiteral("4")}),
         {unicode, artist, QStringLiteral("Sessions"), QStringLiteral("2024"), noComment, QStringLiteral("Jazz")}},
        {"vorbis.flac", ffmpeg(path("vorbis.flac"), {}),
         {unicode, artist, QStringLiteral("Sessions"), QStringLiteral("2024"), noComment, QStringLiteral("Jazz")}},
        {"comments.ogg",
         runTool("oggenc", args({QStringLiteral("--quiet"), QStringLiteral("-t"), unicode, QStringLiteral("-a"), artist,
                                 QStringLiteral("-l"), QStringLiteral("Sessions"), QStringLiteral("-d"), QStringLiteral("2024"),
                                 QStringLiteral("-G"), QStringLiteral("Jazz"), QStringLiteral("-c"),
                                 QStringLiteral("comment=Good take"), QStringLiteral("-o"), path("comments.ogg"), wav})),
         {unicode, artist, QStringLiteral("Sessions"), QStringLiteral("2024"), QStringLiteral("Good take"), QStringLiteral("Jazz")}},
        {"comments.opus",
         runTool("opusenc", args({QStringLiteral("--quiet"), QStringLiteral("--title"), unicode, QStringLiteral("--artist"), artist,
                                  QStringLiteral("--album"), QStringLiteral("Sessions"), QStringLiteral("--date"),
                                  QStringLiteral("2024"), QStringLiteral("--genre"), QStringLiteral("Jazz"), wav,
                                  path("comments.opus")})),
         {unicode, artist, QStringLiteral("Sessions"), QStringLiteral("2024"), noComment, QStringLiteral("Jazz")}},
        {"atoms.m4a", ffmpeg(path("atoms.m4a"), {QStringLiteral("-c:a"), QStringLiteral("aac")}),
         {unicode, artist, QStringLiteral("Sessions"), QStringLiteral("2024"), noComment, QStringLiteral("Jazz")}},
        {"info.wav", ffmpeg(path("info.wav"), {}), {unicode, artist, QStringLiteral("Sessions"), QStringLiteral("2024"), noComment,
                                                    QStringLiteral("Jazz")}},
        {"id3-chunk.aiff", ffmpeg(path("id3-chunk.aiff"), {QStringLiteral("-write_id3v2"), QStringLiteral("1")}),
         {unicode, artist, QStringLiteral("Sessions"), QStringLiteral("2024"), noComment, QStringLiteral("Jazz")}},
        // ID3v1 alone, as old rippers left it.
        {"v1-only.mp3",
         runTool("lame", args({QStringLiteral("--quiet"), QStringLiteral("--id3v1-only"), QStringLiteral("--tt"),
                               QStringLiteral("Old Title"), QStringLiteral("--ta"), QStringLiteral("Old Band"), wav,
                               path("v1-only.mp3")})),
         {QStringLiteral("Old Title"), QStringLiteral("Old Band"), {}, {}, {}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(c.made);
        const SongTags got = readSongTags(path(c.file));
        EXPECT_EQ(got.title, c.expected.title);
        EXPECT_EQ(got.artist, c.expected.artist);
        EXPECT_EQ(got.album, c.expected.album);
        EXPECT_EQ(got.year, c.expected.year);
        EXPECT_EQ(got.genre, c.expected.genre);
        if (!c.expected.comment.isEmpty()) {
            EXPECT_EQ(got.comment, c.expected.comment);
        }
        // The plain ID3v2 reader, where it answers, agrees with TagLib.
        const SongTags full = readSongTags(path(c.file), TagReading::TagLibOnly);
        EXPECT_EQ(std::tuple(got.title, got.artist, got.album, got.year, got.comment, got.genre),
                  std::tuple(full.title, full.artist, full.album, full.year, full.comment, full.genre));
    }

    // Both tags: the ID3v2 text wins, the ID3v1 one fills only what ID3v2 lacks.
    const QString both = writeFile(path("both.mp3"), readFile(path("utf16-v23.mp3")) +
                                                          id3v1Record("Old Title", "Old Band", "Old Album", "1970"));
    const SongTags mixed = readSongTags(both);
    EXPECT_EQ(mixed.title, unicode);
    EXPECT_EQ(mixed.artist, artist);
    EXPECT_EQ(mixed.album, QStringLiteral("Old Album"));
    // The same in a song too large to read whole, where only its two ends are
    // read first, and one without the old tag.
    const QByteArray bulk(400 * 1024, '\0');
    const QByteArray v2 = readFile(path("utf16-v23.mp3"));
    const std::pair<QByteArray, QString> larges[] = {
        {v2 + bulk + id3v1Record("Old Title", "Old Band", "Old Album"), QStringLiteral("Old Album")}, {v2 + bulk, QString()}};
    for (const auto& [bytes, album] : larges) {
        const QString large = writeFile(path("large.mp3"), bytes);
        const SongTags got = readSongTags(large);
        const SongTags full = readSongTags(large, TagReading::TagLibOnly);
        EXPECT_EQ(std::tuple(got.title, got.artist, got.album), std::tuple(unicode, artist, album));
        EXPECT_EQ(std::tuple(full.title, full.artist, full.album), std::tuple(unicode, artist, album));
    }
}

TEST(SongTags, DamagedTagsGiveAFallbackTitleNeverACrash)
{
    QTemporaryDir dir;
    auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    const QByteArray audio = QByteArray("\xff\xfb\x90\x00", 4).repeated(100);
    const QByteArray utf8Title = id3v23Frame("TIT2", QByteArray("\x03") + "Big Cover");

    // A 10 MB cover picture in front of the title.
    const QByteArray picture = id3v23Frame("APIC", QByteArray("\x00image/png\x00\x03\x00", 13) + QByteArray(10 << 20, '\x89'));
    EXPECT_EQ(readSongTags(writeFile(path("cover.mp3"), id3v23Tag(picture + utf8Title, audio))).title,
              QStringLiteral("Big Cover"));

    // A frame claiming 2 GB, text that is no UTF-8, a tag cut short, nothing at all.
    const QByteArray huge = id3v23Frame("TIT2", QByteArray("\x00" "Huge", 5), 0x80000000u);
    const QByteArray badUtf8 = id3v23Frame("TPE1", QByteArray("\x03\xff\xfe\xc3(", 5));
    for (const QByteArray& bytes : {id3v23Tag(huge, audio), id3v23Tag(utf8Title + badUtf8, audio),
                                    id3v23Tag(utf8Title, audio).left(20), QByteArray()}) {
        const QString file = writeFile(path("Damaged Song.mp3"), bytes);
        const PlaylistRow row = rowForFile(file, QStringLiteral("Listed"));
        EXPECT_TRUE(row.title() == QStringLiteral("Big Cover") || row.title() == QStringLiteral("Listed"))
            << row.title().toStdString();
    }
    // A file that is not there falls back to the playlist's title, then to its name.
    EXPECT_EQ(rowForFile(path("gone.mp3"), QStringLiteral("Listed")).title(), QStringLiteral("Listed"));
    EXPECT_EQ(rowForFile(path("gone.mp3")).title(), QStringLiteral("gone"));
}
