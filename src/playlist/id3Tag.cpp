#include "playlist/id3Tag.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavlo {

namespace {

constexpr int kRecordSize = 128;

// A text field: cut at its first NUL, spaces stripped at both ends, read as
// Latin-1 (the 8-bit code page the tags were written in).
QString fieldText(const char* p, int size)
{
    const void* nul = std::memchr(p, 0, static_cast<size_t>(size));
    int end = nul ? static_cast<int>(static_cast<const char*>(nul) - p) : size;
    int begin = 0;
    while (begin < end && p[begin] == ' ')
        ++begin;
    while (end > begin && p[end - 1] == ' ')
        --end;
    return QString::fromLatin1(p + begin, end - begin);
}

// One open, one read of the last 128 bytes, one close: a long playlist calls
// this once per row, so nothing else touches the file system.
bool readLastRecord(const QString& fileName, char* record)
{
    if (fileName.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(fileName);
    // O_NONBLOCK so that a named pipe in a playlist cannot hang the list.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool ok = false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= kRecordSize) {
        off_t offset = st.st_size - kRecordSize;
        int got = 0;
        while (got < kRecordSize) {
            const ssize_t n = ::pread(fd, record + got, static_cast<size_t>(kRecordSize - got), offset + got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<int>(n);
        }
        ok = got == kRecordSize;
    }
    ::close(fd);
    return ok;
}

}  // namespace

void id3Tag::GetMP3Info(const QString& sFileName)
{
    std::array<char, kRecordSize> record;
    if (!readLastRecord(sFileName, record.data()))
        return;
    const char* r = record.data();
    if (std::memcmp(r, "TAG", 3) != 0)
        return;
    sTitle = fieldText(r + 3, 30);
    sArtist = fieldText(r + 33, 30);
    sAlbum = fieldText(r + 63, 30);
    sYear = fieldText(r + 93, 4);
    sComment = fieldText(r + 97, 30);
    sGenre = GenreName(static_cast<unsigned char>(r[127]));
}

QString id3Tag::GenreName(int number)
{
    // Literals: copies of these share static data and never allocate.
    static const QString names[] = {
        QStringLiteral("Blues"), QStringLiteral("Classic Rock"), QStringLiteral("Country"), QStringLiteral("Dance"),
        QStringLiteral("Disco"), QStringLiteral("Funk"), QStringLiteral("Grunge"), QStringLiteral("Hip-Hop"),
        QStringLiteral("Jazz"), QStringLiteral("Metal"), QStringLiteral("New Age"), QStringLiteral("Oldies"),
        QStringLiteral("Other"), QStringLiteral("Pop"), QStringLiteral("R&B"), QStringLiteral("Rap"),
        QStringLiteral("Reggae"), QStringLiteral("Rock"), QStringLiteral("Techno"), QStringLiteral("Industrial"),
        QStringLiteral("Alternative"), QStringLiteral("Ska"), QStringLiteral("Death Metal"),
        QStringLiteral("Pranks"), QStringLiteral("Soundtrack"), QStringLiteral("Euro-Techno"),
        QStringLiteral("Ambient"), QStringLiteral("Trip-Hop"), QStringLiteral("Vocal"), QStringLiteral("Jazz+Funk"),
        QStringLiteral("Fusion"), QStringLiteral("Trance"), QStringLiteral("Classical"),
        QStringLiteral("Instrumental"), QStringLiteral("Acid"), QStringLiteral("House"), QStringLiteral("Game"),
        QStringLiteral("Sound Clip"), QStringLiteral("Gospel"), QStringLiteral("Noise"), QStringLiteral("Alt. Rock"),
        QStringLiteral("Bass"), QStringLiteral("Soul"), QStringLiteral("Punk"), QStringLiteral("Space"),
        QStringLiteral("Meditative"), QStringLiteral("Instrumental Pop"), QStringLiteral("Instrumental Rock"),
        QStringLiteral("Ethnic"), QStringLiteral("Gothic"), QStringLiteral("Darkwave"),
        QStringLiteral("Techno-Industrial"), QStringLiteral("Electronic"), QStringLiteral("Pop-Folk"),
        QStringLiteral("Eurodance"), QStringLiteral("Dream"), QStringLiteral("Southern Rock"),
        QStringLiteral("Comedy"), QStringLiteral("Cult"), QStringLiteral("Gangsta Rap"), QStringLiteral("Top 40"),
        QStringLiteral("Christian Rap"), QStringLiteral("Pop/Funk"), QStringLiteral("Jungle"),
        QStringLiteral("Native American"), QStringLiteral("Cabaret"), QStringLiteral("New Wave"),
        QStringLiteral("Psychadelic"), QStringLiteral("Rave"), QStringLiteral("Showtunes"),
        QStringLiteral("Trailer"), QStringLiteral("Lo-Fi"), QStringLiteral("Tribal"), QStringLiteral("Acid Punk"),
        QStringLiteral("Acid Jazz"), QStringLiteral("Polka"), QStringLiteral("Retro"), QStringLiteral("Musical"),
        QStringLiteral("Rock & Roll"), QStringLiteral("Hard Rock"), QStringLiteral("Folk"),
        QStringLiteral("Folk/Rock"), QStringLiteral("National Folk"), QStringLiteral("Swing"),
        QStringLiteral("Fast-Fusion"), QStringLiteral("Bebop"), QStringLiteral("Latin"), QStringLiteral("Revival"),
        QStringLiteral("Celtic"), QStringLiteral("Bluegrass"), QStringLiteral("Avantgarde"),
        QStringLiteral("Gothic Rock"), QStringLiteral("Progressive Rock"), QStringLiteral("Psychedelic Rock"),
        QStringLiteral("Symphonic Rock"), QStringLiteral("Slow Rock"), QStringLiteral("Big Band"),
        QStringLiteral("Chorus"), QStringLiteral("Easy Listening"), QStringLiteral("Acoustic"),
        QStringLiteral("Humour"), QStringLiteral("Speech"), QStringLiteral("Chanson"), QStringLiteral("Opera"),
        QStringLiteral("Chamber Music"), QStringLiteral("Sonata"), QStringLiteral("Symphony"),
        QStringLiteral("Booty Bass"), QStringLiteral("Primus"), QStringLiteral("Porn Groove"),
        QStringLiteral("Satire"), QStringLiteral("Slow Jam"), QStringLiteral("Club"), QStringLiteral("Tango"),
        QStringLiteral("Samba"), QStringLiteral("Folklore"), QStringLiteral("Ballad"),
        QStringLiteral("Power Ballad"), QStringLiteral("Rhytmic Soul"), QStringLiteral("Freestyle"),
        QStringLiteral("Duet"), QStringLiteral("Punk Rock"), QStringLiteral("Drum Solo"),
        QStringLiteral("A Capella"), QStringLiteral("Euro-House"), QStringLiteral("Dance Hall"),
        QStringLiteral("Goa"), QStringLiteral("Drum & Bass"), QStringLiteral("Club-House"),
        QStringLiteral("Hardcore"), QStringLiteral("Terror"), QStringLiteral("Indie"), QStringLiteral("BritPop"),
        QStringLiteral("Negerunk"), QStringLiteral("Polsk Punk"), QStringLiteral("Beat"),
        QStringLiteral("Christian Gangsta Rap"), QStringLiteral("Heavy Metal"), QStringLiteral("Black Metal"),
        QStringLiteral("Crossover"), QStringLiteral("Contemporary Christian"), QStringLiteral("Christian Rock"),
        QStringLiteral("Merengue"), QStringLiteral("Salsa"), QStringLiteral("Trash Metal"), QStringLiteral("Anime"),
        QStringLiteral("JPop"), QStringLiteral("Synthpop")
    };
    constexpr int known = static_cast<int>(sizeof(names) / sizeof(names[0]));
    static_assert(known == 148);
    return number >= 0 && number < known ? names[number] : QString();
}

}  // namespace tavlo
