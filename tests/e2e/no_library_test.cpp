// The exported call where no installed ZRAPI.DLL can be found: the query is skipped without
// a word, also when a ZRAPI.DLL lies where only the system's own search would look.
#include "support/component.h"
#include "support/record.h"

#include "support/wine_test_support.h"
#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

namespace {
// While alive, the process works in another folder.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string &strFolder)
    {
        char previous[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, previous);
        m_strPrevious = previous;
        SetCurrentDirectoryA(strFolder.c_str());
    }
    ~ScopedCurrentFolder() { SetCurrentDirectoryA(m_strPrevious.c_str()); }
    ScopedCurrentFolder(const ScopedCurrentFolder &) = delete;
    ScopedCurrentFolder &operator=(const ScopedCurrentFolder &) = delete;

private:
    std::string m_strPrevious;
};

// A scratch folder (full path, no trailing backslash) whose subfolder "lib" holds the virtual
// printer, which writes its call log from the moment it is loaded.
std::string PlantedFolder()
{
    const std::string scratch = ScratchPath("planted");
    char folder[MAX_PATH] = {};
    GetFullPathNameA(scratch.c_str(), MAX_PATH, folder, nullptr);
    CreateDirectoryA(folder, nullptr);
    const std::string lib = std::string(folder) + "\\lib";
    CreateDirectoryA(lib.c_str(), nullptr);
    CopyFileA((TestBinFolder() + "..\\ZRAPI.DLL").c_str(), (lib + "\\ZRAPI.DLL").c_str(), FALSE);
    return folder;
}
} // namespace

TEST(NoLibrary, QueryIsSkippedAndTheCallersRecordComesBack)
{
    ASSERT_EQ(0u, SearchPathA(nullptr, "ZRAPI.DLL", nullptr, 0, nullptr, nullptr))
        << "the test needs no library";
    Component component;
    ASSERT_TRUE(component.Loaded());
    MessageBoxCatcher catcher;
    const OptionInfo in = CallerRecord();
    OptionInfo out = Canary();
    EXPECT_EQ(1, component.Call("RX-9100W", "RX-9100W", &in, &out, FALSE, TRUE));
    EXPECT_TRUE(SameRecord(in, out));
    out = Canary();
    EXPECT_EQ(1, component.Call("RX-9100W", "RX-7100W", nullptr, &out, FALSE, TRUE));
    EXPECT_TRUE(SameRecord(OptionInfo(), out));
    EXPECT_TRUE(catcher.m_boxes.empty());
}

// The current folder belongs to the calling program (a document folder, a download, a share),
// and so does every folder that a relative PATH entry names: a ZRAPI.DLL there is not the
// installed library and must never run.
TEST(NoLibrary, ALibraryInTheCurrentFolderOrARelativePathEntryIsNeverLoaded)
{
    Component component;
    ASSERT_TRUE(component.Loaded());
    const std::string folder = PlantedFolder();
    {
        ZrapiSession session;
        const HMODULE hPlanted = LoadLibraryA((folder + "\\lib\\ZRAPI.DLL").c_str());
        ASSERT_NE(nullptr, hPlanted) << folder;
        FreeLibrary(hPlanted);
        ASSERT_FALSE(session.Functions().empty()) << "a load of the planted library shows in its log";
    }
    const struct {
        const char *pszCurrent; // below the planted folder
        std::string strPathEntry;
    } places[] = {
        {"\\lib", ""},
        {"", "lib"},
        {"", ".\\lib\\"},
        {"", folder.substr(0, 2) + "lib"}, // on the current folder of the drive
        {"", folder.substr(2) + "\\lib"},  // from the root of the current drive
    };
    const OptionInfo in = CallerRecord();
    for (const auto &place : places) {
        SCOPED_TRACE(std::string("current folder ") + (*place.pszCurrent ? "lib" : "above lib") +
                     ", PATH entry " + place.strPathEntry);
        ScopedCurrentFolder current(folder + place.pszCurrent);
        ScopedVariable path("PATH", place.strPathEntry + ";" + ScopedVariable::Value("PATH"));
        ASSERT_NE(0u, SearchPathA(nullptr, "ZRAPI.DLL", nullptr, 0, nullptr, nullptr))
            << "the system's own search finds the planted library";
        ZrapiSession session;
        MessageBoxCatcher catcher;
        OptionInfo out = Canary();
        EXPECT_EQ(1, component.Call("RX-9100W", "RX-9100W", &in, &out, FALSE, TRUE));
        EXPECT_TRUE(SameRecord(in, out)) << "the caller's record, as without a library";
        EXPECT_TRUE(catcher.m_boxes.empty());
        EXPECT_TRUE(session.Functions().empty()) << "the planted library was loaded";
        EXPECT_EQ(nullptr, GetModuleHandleA("ZRAPI.DLL"));
    }
}
