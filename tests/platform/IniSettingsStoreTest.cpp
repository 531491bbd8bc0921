#include "platform/IniSettingsStore.h"

#include "fakes/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const QString kMusic = QStringLiteral("TAVLO BroadcastTAVLO Broadcast Music");
const QString kInsert = QStringLiteral("TAVLO BroadcastTAVLO Broadcast - Time Priority");

QString get(const IniSettingsStore& s, const QString& app, const char* section, const char* key, const char* def = "<default>")
{
    return s.get(app, QString::fromLatin1(section), QString::fromLatin1(key), QString::fromLatin1(def));
}

}  // namespace

TEST(IniSettingsStore, KeepsEachWindowsSettingsBetweenRunsOverAGarbledFile)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    const QString file = home.path() + QStringLiteral("/tavlo/tavlo.ini");
    ASSERT_TRUE(QDir().mkpath(home.path() + QStringLiteral("/tavlo")));
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(static_cast<char>((i * 7919 + 13) % 256));
    writeFile(file, junk);
    const QString odd = QStringLiteral(" /srv/on air; logs, \"daily\" = #1\\\u00e9/");
    {
        IniSettingsStore store;
        EXPECT_EQ(get(store, kMusic, "BasicAudio", "Volume", "64"), QStringLiteral("64"));  // garbage reads as nothing
        // Both player windows use the same keys and keep separate values.
        store.save(kMusic, QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("100"));
        store.save(kInsert, QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("2500"));
        store.save(kMusic, QStringLiteral("Settings"), QStringLiteral("LogFolder"), odd);
        store.save(kInsert, QStringLiteral("Settings"), QStringLiteral("LogFolder"), QString());
        // A burst of saves does not touch the disk; closing the program writes it once.
        EXPECT_EQ(readFile(file), junk);
    }
    IniSettingsStore store;
    // Stored empty is not missing.
    EXPECT_EQ(QStringList({get(store, kMusic, "Window", "Top"), get(store, kInsert, "Window", "Top"),
                           get(store, kMusic, "Settings", "LogFolder"), get(store, kInsert, "Settings", "LogFolder"),
                           get(store, kMusic, "Settings", "WaitSong")}),
              QStringList({QStringLiteral("100"), QStringLiteral("2500"), odd, QString(), QStringLiteral("<default>")}));

    // flush writes without waiting for the end of the program.
    store.save(kMusic, QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("120"));
    store.flush();
    EXPECT_EQ(get(IniSettingsStore(file), kMusic, "Window", "Top"), QStringLiteral("120"));
    qunsetenv("XDG_CONFIG_HOME");

    // A file cut short by another program keeps the keys before the cut.
    writeFile(file, "[TAVLO%20BroadcastTAVLO%20Broadcast%20Music]\nWindow\\Top=1500\nWindow\\Le");
    const IniSettingsStore cut(file);
    EXPECT_EQ(get(cut, kMusic, "Window", "Top") + get(cut, kMusic, "Window", "Left", "/100"), QStringLiteral("1500/100"));
}

namespace {

// Whether `pid` has a file open in `folder` that has no name yet: the new
// settings file being written, before it replaces the old one.
bool writingUnnamedFile(pid_t pid, const QString& folder)
{
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryInfoList(QDir::Files | QDir::System)) {
        if (fd.symLinkTarget().startsWith(folder) && fd.symLinkTarget().endsWith(QLatin1String("(deleted)")))
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
    auto key = [](int k) { return QStringLiteral("Key%1").arg(k); };
    auto saveGeneration = [&](IniSettingsStore& store, int generation) {
        for (int k = 0; k < 15; ++k)
            store.save(k % 2 ? kMusic : kInsert, QStringLiteral("Settings"), key(k), QString::number(generation) + padding);
        store.flush();
    };
    {
        IniSettingsStore store(file);
        saveGeneration(store, 0);
    }
    int killedMidWrite = 0;
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            IniSettingsStore store(file);
            for (int generation = (round + 1) * 1000;; ++generation)
                saveGeneration(store, generation);
        }
        // Every other round first lets one save through (it replaces the file's inode).
        const ino_t before = inodeOf(file);
        QElapsedTimer waited;
        waited.start();
        while (round % 2 && inodeOf(file) == before && waited.elapsed() < 5000)
            usleep(200);
        usleep(static_cast<useconds_t>(3000 + (round * 3571) % 15000));
        killedMidWrite += writingUnnamedFile(child, dir.path()) ? 1 : 0;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        const IniSettingsStore store(file);
        const QString first = store.get(kInsert, QStringLiteral("Settings"), key(0), QString());
        ASSERT_TRUE(first.endsWith(padding)) << "round " << round;
        for (int k = 1; k < 15; ++k)
            ASSERT_EQ(store.get(k % 2 ? kMusic : kInsert, QStringLiteral("Settings"), key(k), QString()), first);
    }
    EXPECT_GT(killedMidWrite, 0);  // the test did strike writes in progress
    // No stale lock of the dead writer holds a save up (ctest's timeout would catch a hang).
    {
        IniSettingsStore store(file);
        saveGeneration(store, 999999);
    }
    EXPECT_TRUE(get(IniSettingsStore(file), kInsert, "Settings", "Key0").startsWith(QStringLiteral("999999")));
}
