// The walk reporting to an observer: every folder heard of once, the same
// entries as a walk without one, and a stop that ends the walk at once,
// where it began, with nothing added afterwards.
#include <algorithm>
#include <set>

#include "tests/search/search_fixture.h"

namespace corvant::testing {
namespace {

using Entries = std::vector<std::string>;

class RecordingObserver : public SearchObserver {
public:
    explicit RecordingObserver(HWND list, int stopAtCall = 0) : list_(list), stopAtCall_(stopAtCall) {}

    BOOL folderEntered() override {
        folders.push_back(currentDirectory());
        return decide();
    }
    BOOL entriesExamined() override {
        ++entryReports;
        return decide();
    }

    std::vector<std::string> folders;
    int entryReports = 0;
    int callsAfterStop = 0;
    LRESULT entriesAtStop = -1;

private:
    BOOL decide() {
        if (entriesAtStop >= 0) {
            ++callsAfterStop;
            return FALSE;
        }
        if (++calls_ != stopAtCall_) return TRUE;
        entriesAtStop = SendMessageA(list_, LB_GETCOUNT, 0, 0);
        return FALSE;
    }

    HWND list_;
    int stopAtCall_;
    int calls_ = 0;
};

class SearchObserverTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        for (const char *file : {"NETSCAPE.EXE", "a/NETSCAPE.EXE", "a/b/netscape.exe", "a/b/c/NETSCAPE.EXE",
                                 "d/NETSCAPE.EXE", "d/e/NETSCAPE.EXE", "f/g/h/NETSCAPE.EXE", "f/readme.txt"}) {
            makeFile(sandbox_.folder(), file);
        }
        makeFolder(sandbox_.folder(), "empty");
        folders_ = {tree(),
                    pathInTree("a"),
                    pathInTree("a/b"),
                    pathInTree("a/b/c"),
                    pathInTree("d"),
                    pathInTree("d/e"),
                    pathInTree("f"),
                    pathInTree("f/g"),
                    pathInTree("f/g/h"),
                    pathInTree("empty")};
        everything_ = searchWholeTree();
        SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
        ASSERT_EQ(everything_.size(), 7u);
        ASSERT_TRUE(SetCurrentDirectoryA(tree().c_str()));
    }

    std::set<std::string> folders_;
    Entries everything_;
};

TEST_F(SearchObserverTest, HearsOfEveryFolderOnceAndListsWhatAWalkWithoutItLists) {
    RecordingObserver observer(listBox_);

    EXPECT_TRUE(searchTree(observer));

    EXPECT_EQ(currentDirectory(), tree());
    EXPECT_EQ(listEntries(listBox_), everything_);
    EXPECT_EQ(observer.folders.size(), folders_.size());
    EXPECT_EQ(std::set<std::string>(observer.folders.begin(), observer.folders.end()), folders_);
    EXPECT_EQ(observer.folders.front(), tree()) << "the start is heard of first";
}

TEST_F(SearchObserverTest, StopEndsTheWalkAtOnceWhereItBeganWithNothingAddedAfter) {
    for (int stopAt = 1; stopAt <= static_cast<int>(folders_.size()); ++stopAt) {
        SCOPED_TRACE("stopped at folder " + std::to_string(stopAt));
        SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
        RecordingObserver observer(listBox_, stopAt);

        EXPECT_FALSE(searchTree(observer));

        EXPECT_EQ(currentDirectory(), tree());
        EXPECT_EQ(observer.folders.size(), static_cast<size_t>(stopAt));
        EXPECT_EQ(observer.callsAfterStop, 0);
        const Entries listed = listEntries(listBox_);
        EXPECT_EQ(static_cast<LRESULT>(listed.size()), observer.entriesAtStop);
        for (const std::string &entry : listed) {
            EXPECT_NE(std::find(everything_.begin(), everything_.end(), entry), everything_.end()) << entry;
        }
    }
}

TEST_F(SearchObserverTest, WideFolderIsReportedOnAsItIsExaminedAndCanBeStoppedThere) {
    makeFolder(sandbox_.folder(), "wide/after");
    for (int i = 0; i < 1200; ++i) makeFile(sandbox_.folder(), "wide/f" + std::to_string(i) + ".exe");
    ASSERT_TRUE(SetCurrentDirectoryA(pathInTree("wide").c_str()));

    RecordingObserver complete(listBox_);
    EXPECT_TRUE(searchTree(complete));
    // A report at least every few hundred of the 1,200 files.
    EXPECT_GE(complete.entryReports, 4);

    // The first report after the folder itself stops the walk before "after".
    RecordingObserver stopped(listBox_, 2);
    EXPECT_FALSE(searchTree(stopped));
    EXPECT_EQ(stopped.folders, Entries{pathInTree("wide")});
    EXPECT_EQ(stopped.entryReports, 1);
    EXPECT_EQ(currentDirectory(), pathInTree("wide"));
}

}  // namespace
}  // namespace corvant::testing
