#include "platform/IniSettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <tuple>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavlo;

namespace {

const QString kMusic = QStringLiteral("TAVLO BroadcastTAVLO Broadcast Music");
const QString kInsert = QStringLiteral("TAVLO BroadcastTAVLO Broadcast - Time Priority");
const QString kScheduler = QStringLiteral("TAVLO Broadcast");

QString get(const IniSettingsStore& s, const QString& app, const char* section, const char* key, const char* def = "<default>")
{
    return s.get(app, QString::fromLatin1(section), QString::fromLatin1(key), QString::fromLatin1(def));
}

}  // namespace

TEST(IniSettingsStore, KeepsEachWindowsSettingsBetweenRuns)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    const QString file = home.path() + QStringLiteral("/tavlo/tavlo.ini");
    {
        IniSettingsStore store;
        EXPECT_EQ(store.filePath(), file);
        // First start: every key gives its default.
        EXPECT_EQ(get(store, kMusic, "BasicAudio", "Volume", "64"), QStringLiteral("64"));

        // SaveSettings of both player windows and the scheduler: same keys, separate values.
        store.save(kMusic, QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("100"));
        store.save(kInsert, QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("2500"));
        store.save(kScheduler, QStringLiteral("TAVLO Timing Events"), QStringLiteral("Top"), QStringLiteral("40"));
        store.save(kMusic, QStringLiteral("Settings"), QStringLiteral("LogFolder"),
                   QStringLiteral(" /srv/on air; logs, \"daily\" = #1\\\u00e9/"));
        store.save(kMusic, QStringLiteral("Buttons"), QStringLiteral("cmdShowOptionsCaption"), QStringLiteral("Hide Options"));
        store.save(kInsert, QStringLiteral("Settings"), QStringLiteral("LogFolder"), QString());
        store.save(kInsert, QStringLiteral("Settings"), QStringLiteral("WaitSong"), QStringLiteral("1"));
        store.save(kMusic, QStringLiteral("Settings"), QStringLiteral("WriteLog"), QStringLiteral("True"));
        // A burst of saves does not touch the disk; closing the program writes it once.
        EXPECT_FALSE(QFile::exists(file));
    }
    ASSERT_TRUE(QFile::exists(file));

    IniSettingsStore store;
    EXPECT_EQ(get(store, kMusic, "Window", "Top"), QStringLiteral("100"));
    EXPECT_EQ(get(store, kInsert, "Window", "Top"), QStringLiteral("2500"));
    EXPECT_EQ(get(store, kScheduler, "TAVLO Timing Events", "Top"), QStringLiteral("40"));
    EXPECT_EQ(get(store, kMusic, "Settings", "LogFolder"), QStringLiteral(" /srv/on air; logs, \"daily\" = #1\\\u00e9/"));
    EXPECT_EQ(get(store, kMusic, "Buttons", "cmdShowOptionsCaption"), QStringLiteral("Hide Options"));
    EXPECT_EQ(get(store, kInsert, "Settings", "LogFolder"), QString());  // stored empty is not missing
    EXPECT_EQ(get(store, kMusic, "Settings", "WriteLog"), QStringLiteral("True"));
    // Only the insert window has "WaitSong"; missing keys, sections and applications give the default.
    EXPECT_EQ(get(store, kInsert, "Settings", "WaitSong"), QStringLiteral("1"));
    EXPECT_EQ(get(store, kMusic, "Settings", "WaitSong", "0"), QStringLiteral("0"));
    EXPECT_EQ(get(store, kMusic, "Nowhere", "Top"), QStringLiteral("<default>"));
    EXPECT_EQ(get(store, QStringLiteral("Other App"), "Window", "Top"), QStringLiteral("<default>"));

    // An explicit flush writes without waiting for the end of the program.
    store.save(kMusic, QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("120"));
    store.flush();
    EXPECT_EQ(get(IniSettingsStore(file), kMusic, "Window", "Top"), QStringLiteral("120"));
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(IniSettingsStore, AGarbledFileReadsAsNothingStored)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tavlo.ini"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(static_cast<char>((i * 7919 + 13) % 256));
        f.write(junk);
    }
    {
        IniSettingsStore store(file);
        EXPECT_EQ(get(store, kMusic, "Window", "Top", "100"), QStringLiteral("100"));
        EXPECT_EQ(get(store, kMusic, "BasicAudio", "Volume", "64"), QStringLiteral("64"));
        store.save(kMusic, QStringLiteral("BasicAudio"), QStringLiteral("Volume"), QStringLiteral("70"));
    }
    // Saving over the garbage gives a good file again.
    EXPECT_EQ(get(IniSettingsStore(file), kMusic, "BasicAudio", "Volume"), QStringLiteral("70"));

    // A file cut short by another program keeps the keys before the cut.
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[TAVLO%20BroadcastTAVLO%20Broadcast%20Music]\nWindow\\Top=1500\nWindow\\Le");
    }
    {
        IniSettingsStore store(file);
        EXPECT_EQ(get(store, kMusic, "Window", "Top"), QStringLiteral("1500"));
        EXPECT_EQ(get(store, kMusic, "Window", "Left", "100"), QStringLiteral("100"));
    }

    // A folder where the file should be: defaults, no crash.
    const QString folder = dir.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(get(IniSettingsStore(folder), kMusic, "Window", "Top", "100"), QStringLiteral("100"));
}

namespace {

// Whether `pid` has a file open in `folder` that has no name yet: the new
// settings file being written, before it replaces the old one.
bool writingUnnamedFile(pid_t pid, const QString& folder)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target.startsWith(folder) && target.endsWith(QLatin1String("(deleted)")))
            return true;
    }
    return false;
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

}  // namespace

// The program killed while it writes its settings (power cut, crash) must
// find either the previous settings or the new ones, never half a file, and
// must not hang on the dead program's lock when it saves again.
TEST(IniSettingsStore, KilledDuringSaveLeavesAWholeFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tavlo.ini"));
    const QString padding(5000, QLatin1Char('p'));  // large enough that a write takes a while
    constexpr int kKeys = 15;
    auto keyOf = [](int k) {
        return std::tuple{k % 2 ? kMusic : kInsert, QStringLiteral("Section%1").arg(k % 4), QStringLiteral("Key%1").arg(k)};
    };
    auto saveGeneration = [&](IniSettingsStore& store, int generation) {
        for (int k = 0; k < kKeys; ++k) {
            const auto [app, section, key] = keyOf(k);
            store.save(app, section, key, QString::number(generation) + QLatin1Char(' ') + padding);
        }
        store.flush();
    };
    {
        IniSettingsStore store(file);
        saveGeneration(store, 0);
    }

    int killedMidWrite = 0;
    int roundsThatSaved = 0;
    int lastGeneration = 0;
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            IniSettingsStore store(file);
            for (int generation = (round + 1) * 1000;; ++generation)
                saveGeneration(store, generation);
        }
        // Every other round first lets one save through: it replaces the file,
        // so the file's inode changes.
        if (round % 2 == 1) {
            const ino_t before = inodeOf(file);
            QElapsedTimer waited;
            waited.start();
            while (inodeOf(file) == before && waited.elapsed() < 5000)
                usleep(200);
        }
        usleep(static_cast<useconds_t>(3000 + (round * 3571) % 15000));
        killedMidWrite += writingUnnamedFile(child, dir.path()) ? 1 : 0;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        IniSettingsStore store(file);
        const QString first = get(store, kInsert, "Section0", "Key0");
        ASSERT_TRUE(first.endsWith(padding)) << "round " << round << ": " << first.left(40).toStdString();
        for (int k = 0; k < kKeys; ++k) {
            const auto [app, section, key] = keyOf(k);
            ASSERT_EQ(store.get(app, section, key, QString()), first) << "round " << round << " key " << k;
        }
        const int generation = first.section(QLatin1Char(' '), 0, 0).toInt();
        roundsThatSaved += generation != lastGeneration ? 1 : 0;
        lastGeneration = generation;
    }
    EXPECT_GT(killedMidWrite, 0);  // the test did hit writes in progress
    EXPECT_GT(roundsThatSaved, 0);  // and let some through

    // The next run saves normally and at once.
    QElapsedTimer saving;
    saving.start();
    {
        IniSettingsStore store(file);
        saveGeneration(store, 999999);
    }
    EXPECT_LT(saving.elapsed(), 5000);
    EXPECT_TRUE(get(IniSettingsStore(file), kMusic, "Section1", "Key1").startsWith(QStringLiteral("999999 ")));
}
