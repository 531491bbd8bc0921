#include "playlist/SongTags.h"

#include "platform/MediaFormat.h"
#include "playlist/PlainId3v2.h"

#include <QFile>

#include <taglib/aifffile.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <utility>

namespace tavlo {

namespace {

// Files up to this size (jingles, spots, short songs) are read whole with one
// read and parsed from memory; larger ones are read where their tags are.
constexpr off_t kWholeFileBytes = 256 * 1024;
// Of a larger file, its start (an ID3v2 tag without pictures fits) and its end.
constexpr qsizetype kHeadBytes = 64 * 1024;
constexpr qsizetype kTailBytes = 160;

QString text(const TagLib::String& s) { return QString::fromStdString(s.to8Bit(true)).trimmed(); }

SongTags fromTag(const TagLib::Tag* tag)
{
    SongTags tags;
    if (!tag)
        return tags;
    tags.title = text(tag->title());
    tags.artist = text(tag->artist());
    tags.album = text(tag->album());
    tags.comment = text(tag->comment());
    tags.genre = text(tag->genre());
    if (tag->year() > 0)
        tags.year = QString::number(tag->year());
    return tags;
}

// Fields the first tag lacks, taken from the second.
void fillFrom(SongTags& tags, const SongTags& other)
{
    for (auto [mine, theirs] : {std::pair{&tags.title, &other.title}, {&tags.artist, &other.artist},
                                {&tags.album, &other.album}, {&tags.year, &other.year},
                                {&tags.comment, &other.comment}, {&tags.genre, &other.genre}}) {
        if (mine->isEmpty())
            *mine = *theirs;
    }
}

// Which Ogg codec: its first packet's signature, at the start of the first page's data.
std::unique_ptr<TagLib::File> oggFile(TagLib::IOStream* stream, const QByteArray& head)
{
    if (head.size() < 27)
        return nullptr;
    const int segments = static_cast<unsigned char>(head[26]);
    const QByteArray packet = head.mid(27 + segments, 8);
    if (packet.startsWith("\x01vorbis"))
        return std::make_unique<TagLib::Ogg::Vorbis::File>(stream, false);
    if (packet.startsWith("OpusHead"))
        return std::make_unique<TagLib::Ogg::Opus::File>(stream, false);
    if (packet.startsWith("\x7f" "FLAC"))
        return std::make_unique<TagLib::Ogg::FLAC::File>(stream, false);
    return nullptr;
}

std::unique_ptr<TagLib::File> tagFile(TagLib::IOStream* stream, const QByteArray& head, MediaFormat format)
{
    auto* frames = TagLib::ID3v2::FrameFactory::instance();
    switch (format) {
    case MediaFormat::Mp3:
    case MediaFormat::Adts:
        return std::make_unique<TagLib::MPEG::File>(stream, frames, false);
    case MediaFormat::Wav:
        return std::make_unique<TagLib::RIFF::WAV::File>(stream, false);
    case MediaFormat::Aiff:
        return std::make_unique<TagLib::RIFF::AIFF::File>(stream, false);
    case MediaFormat::Flac:
        return std::make_unique<TagLib::FLAC::File>(stream, frames, false);
    case MediaFormat::Ogg:
        return oggFile(stream, head);
    case MediaFormat::Mp4:
        return std::make_unique<TagLib::MP4::File>(stream, false);
    case MediaFormat::Unknown:
        break;
    }
    return nullptr;
}

}  // namespace

SongTags readSongTags(const QString& fileName) { return readSongTags(fileName, TagReading::PlainId3v2First); }

SongTags readSongTags(const QString& fileName, TagReading how)
{
    if (fileName.isEmpty())
        return {};
    // O_NONBLOCK so that a named pipe in a playlist cannot hang the list.
    int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    // Closed on every way out, unless TagLib takes it over.
    const std::unique_ptr<int, void (*)(int*)> closer(&fd, [](int* f) {
        if (*f >= 0)
            ::close(*f);
    });
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const bool whole = info.st_size <= kWholeFileBytes;
    QByteArray head(whole ? static_cast<qsizetype>(info.st_size) : kHeadBytes, Qt::Uninitialized);
    const ssize_t got = ::read(fd, head.data(), static_cast<size_t>(head.size()));
    if (got <= 0)
        return {};
    head.truncate(got);
    const MediaFormat format = sniffMediaFormat(head, fileName);

    if (how == TagReading::PlainId3v2First && format == MediaFormat::Mp3) {
        // The end of a file too large to read whole: where ID3v1 and APE tags are.
        QByteArray tail;
        if (!whole) {
            tail.resize(kTailBytes);
            if (::pread(fd, tail.data(), kTailBytes, info.st_size - kTailBytes) != kTailBytes)
                tail.clear();
        }
        if (std::optional<SongTags> plain = readPlainId3v2(head, whole ? QByteArrayView(head) : QByteArrayView(tail)))
            return std::move(*plain);
    }

    std::unique_ptr<TagLib::IOStream> stream;
    if (whole) {
        stream = std::make_unique<TagLib::ByteVectorStream>(
            TagLib::ByteVector(head.constData(), static_cast<unsigned>(head.size())));
    } else {
        // TagLib reads on through the same descriptor and closes it.
        auto file = std::make_unique<TagLib::FileStream>(std::exchange(fd, -1), true);
        if (!file->isOpen())
            return {};
        stream = std::move(file);
    }
    const std::unique_ptr<TagLib::File> file = tagFile(stream.get(), head, format);
    if (!file || !file->isValid())
        return {};
    SongTags tags = fromTag(file->tag());
    // A WAV file's tag() is its ID3 chunk alone; most WAV writers use RIFF INFO.
    if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file.get()); wav && wav->hasInfoTag())
        fillFrom(tags, fromTag(wav->InfoTag()));
    return tags;
}

}  // namespace tavlo
