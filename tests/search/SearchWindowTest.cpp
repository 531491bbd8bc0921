// The search window: the walk's order and counts, cancelling, folders that
// cannot be read, the criteria and tagged results.
#include "search/SearchRig.h"
#include "fakes/TestText.h"

#include "playlist/PlaylistModel.h"
#include "search/NameOrder.h"
#include "search/WildcardPattern.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {


}  // namespace

TEST(SearchWindow, WalksLastSubfolderFirstInTheFileManagersOrderAndSkipsUnreadableFolders)
{
    SearchRig r;
    for (const char* f : {"A/Song 10.mp3", "A/song 9.MP3", "A/Song 1.mp3", "B/b.mp3", "B/locked/l.mp3", "C/c.mp3", "C/c.txt",
                          "C/D/deep.mp3", ".hidden/h.mp3", "alpha.mp3", "Alpha.mp3", "notes.txt"})
        r.file(s(f));
    r.reader.failing.insert(r.folder(s("B/locked")));
    QFile::link(r.top(), r.folder(s("C/loop")));  // back up the tree: listed, never walked

    r.searchFrom(r.top());
    EXPECT_EQ(r.found(), (QStringList{r.folder(s("C/D/deep.mp3")), r.folder(s("C/c.mp3")), r.folder(s("B/b.mp3")),
                                      r.folder(s("A/Song 1.mp3")), r.folder(s("A/song 9.MP3")),
                                      r.folder(s("A/Song 10.mp3")), r.folder(s("Alpha.mp3")), r.folder(s("alpha.mp3"))}));
    EXPECT_EQ(std::pair(r.seek->countLabel->text(), r.seek->searchButton->isEnabled()), std::pair(s(" 8"), true));
    EXPECT_EQ(r.dialogs.informed, (QStringList{s("TAVLO Broadcast: 1 folder could not be read; the files in it are not listed.")}));
    EXPECT_EQ(r.seek->fileList->path(), r.top());
    EXPECT_EQ(r.seek->fileList->items(), (QStringList{s("Alpha.mp3"), s("alpha.mp3")}));

    // "&Back" clears the results and goes back to the criteria.
    r.seek->searchButton->press();
    EXPECT_TRUE(r.found().isEmpty() && r.seek->criteriaPanel->isVisible() && !r.seek->resultsPanel->isVisible());
    EXPECT_TRUE(r.seek->searchIsDefault());

    // A word as the mask makes the pattern; "*" and "?" ignore letter case.
    r.seek->maskBox->setText(s("ONG"));
    EXPECT_EQ(r.seek->patternBox->text(), s("*ONG*.mp3"));
    r.seek->folderList->setPath(r.folder(s("A")));
    EXPECT_EQ(r.seek->fileList->items(), (QStringList{s("Song 1.mp3"), s("song 9.MP3"), s("Song 10.mp3")}));
    r.seek->patternBox->setText(s("?LPHA.mp?"));
    r.searchFrom(r.top());
    EXPECT_EQ(r.found(), (QStringList{r.folder(s("Alpha.mp3")), r.folder(s("alpha.mp3"))}));
}

TEST(SearchWindow, CancelEndsTheSearchKeepingWhatWasFound)
{
    SearchRig r;
    for (const char* f : {"A/a.mp3", "B/b.mp3", "C/c1.mp3", "C/c2.mp3"})
        r.file(s(f));
    r.reader.slow.insert(r.folder(s("B")));
    r.uiEvents.onProcess = [&] {
        if (r.seek->caption() == r.folder(s("B")))
            r.seek->closeButton->press();
    };
    r.searchFrom(r.top());
    EXPECT_EQ(r.found(), (QStringList{r.folder(s("C/c1.mp3")), r.folder(s("C/c2.mp3"))}));
    EXPECT_TRUE(!r.seek->searching() && r.dialogs.informed.isEmpty());
}

TEST(SearchWindow, TaggedResultsSortByColumnFindAsYouTypeAndGoToTheMusicWindow)
{
    SearchRig r;
    r.file(s("1.mp3"), "Because", "Queen", "1980");
    r.file(s("2.mp3"), "angel", "Bjork", "1995");
    r.file(s("3.mp3"), "bEtter", "Abba", "1970");
    r.file(s("4 No Tag.mp3"));
    r.searchFrom(r.top());
    const QStringList paths = r.found();
    ASSERT_EQ(paths.size(), 4);

    // Ticked after the search: the paths become rows with their tags, in
    // found order; unticked, the plain list comes back as it was.
    r.seek->readTagsCheck->setValue(1);
    EXPECT_FALSE(r.seek->foundFiles->isVisible());
    EXPECT_EQ(r.clipColumn(ColTitle), (QStringList{s("Because"), s("angel"), s("bEtter"), s("4 No Tag")}));
    EXPECT_EQ(r.clipColumn(ColLocation), paths);
    r.seek->readTagsCheck->setValue(0);
    EXPECT_EQ(r.found(), paths);

    // Ticked before a search, the rows come straight from it.
    r.seek->searchButton->press();
    r.seek->readTagsCheck->setValue(1);
    r.searchFrom(r.top());
    EXPECT_TRUE(r.found().isEmpty());
    EXPECT_EQ(r.clipColumn(ColArtist), (QStringList{s("Queen"), s("Bjork"), s("Abba"), QString()}));
    EXPECT_EQ(r.seek->countLabel->text(), s(" 4"));

    // Find as one types: a prefix in any case, in the title alone or in the
    // other columns; no match leaves the selection.
    PlaylistModel& list = *r.seek->foundRows;
    r.seek->titlesOnlyCheck->setValue(1);
    r.seek->findBox->setText(s("BE"));
    EXPECT_EQ(list.selectedRows(), std::vector<int>{1});
    r.seek->findBox->setText(s("ab"));
    EXPECT_EQ(list.selectedRows(), std::vector<int>{1});
    r.seek->titlesOnlyCheck->setValue(0);  // now "ab" finds the artist Abba
    EXPECT_EQ(list.selectedRows(), std::vector<int>{3});
    r.seek->findBox->setText(s("BJ"));
    EXPECT_EQ(list.selectedRows(), std::vector<int>{2});

    // Headers: a first click on any column, "Title" too, keeps the order
    // (ascending at first); the same column again flips it.
    std::vector<int> shown;
    QObject::connect(&list, &PlaylistModel::ensureVisible, [&](int n) { shown.push_back(n); });
    r.seek->sortByColumn(1);
    EXPECT_EQ(r.clipColumn(ColTitle), (QStringList{s("4 No Tag"), s("Because"), s("angel"), s("bEtter")}));
    r.seek->sortByColumn(3);
    EXPECT_EQ(r.clipColumn(ColArtist), (QStringList{QString(), s("Abba"), s("Bjork"), s("Queen")}));
    r.seek->sortByColumn(3);
    EXPECT_EQ(r.clipColumn(ColArtist), (QStringList{s("Queen"), s("Bjork"), s("Abba"), QString()}));
    EXPECT_EQ(shown, (std::vector<int>{3, 3, 2}));  // Bjork's row, wherever it went
}

TEST(SearchNames, FileManagerOrderAndPatterns)
{
    NameOrder order(QLocale::c());
    std::vector<QString> names{s("track 10.mp3"), s("Track 9.mp3"), s("b"), s("A"), s("track 1.mp3"), s("a2"), s("a10")};
    order.sort(names);
    EXPECT_EQ(QStringList(names.begin(), names.end()),
              (QStringList{s("A"), s("a2"), s("a10"), s("b"), s("track 1.mp3"), s("Track 9.mp3"), s("track 10.mp3")}));

    const WildcardPattern mp3(s("*.mp3"));
    EXPECT_TRUE(mp3.matches(s("Song.MP3")));
    EXPECT_FALSE(mp3.matches(s("song.mp3.txt")));
    EXPECT_TRUE(WildcardPattern(s("?b?.mp3")).matches(s("ÁBc.mp3")));
}
