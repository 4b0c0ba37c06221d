// The exported call where no installed ZRAPI.DLL can be found: the query is skipped without
// a word, also when a ZRAPI.DLL lies where only the system's own search would look. And where
// a driver package installs it: beside the component, with what it imports.
#include "support/component.h"
#include "support/record.h"

#include "support/import_patch.h"
#include "support/wine_test_support.h"
#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <memory>

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

// A fresh scratch folder: its full path, without a trailing backslash.
std::string ScratchFolder(const std::string &strName)
{
    char folder[MAX_PATH] = {};
    GetFullPathNameA(ScratchPath(strName).c_str(), MAX_PATH, folder, nullptr);
    CreateDirectoryA(folder, nullptr);
    return folder;
}

// Copies a file of the build (named from the test's own folder) into a folder.
void CopyInto(const std::string &strFromBin, const std::string &strFolder)
{
    const std::string from = TestBinFolder() + strFromBin;
    CopyFileA(from.c_str(), (strFolder + from.substr(from.find_last_of('\\'))).c_str(), FALSE);
}

// A scratch folder whose subfolder "lib" holds the virtual printer, which writes its call
// log from the moment it is loaded.
std::string PlantedFolder()
{
    const std::string folder = ScratchFolder("planted");
    CreateDirectoryA((folder + "\\lib").c_str(), nullptr);
    CopyInto("..\\ZRAPI.DLL", folder + "\\lib");
    return folder;
}

// Hides the export that says the system has the secure loading flags from the component.
FARPROC WINAPI WithoutSecureFlags(HMODULE hModule, LPCSTR pszName)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(pszName)) != 0 && lstrcmpA(pszName, "AddDllDirectory") == 0)
        return nullptr;
    return GetProcAddress(hModule, pszName);
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
// and so does every folder that a relative PATH entry names; ordinary users may write an
// absolute one: a ZRAPI.DLL there is not the installed library and must never run.
TEST(NoLibrary, ALibraryInTheCurrentFolderOrOnPathIsNeverLoaded)
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
        {"", folder + "\\lib"},
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

// A driver package installs ZRAPI.DLL beside the component, in a folder apart from the
// calling program's. What the library imports comes from its own folder (or the system
// folder), never from the current one; where the system lacks the secure loading flags, the
// loader's older order takes the current folder too.
TEST(NoLibrary, ALibraryBesideTheComponentIsLoadedWithItsImportsFromItsOwnFolder)
{
    const std::string driver = ScratchFolder("driver");
    const std::string current = ScratchFolder("current");
    DeleteFileA((driver + "\\ZRDEP.DLL").c_str()); // left by an earlier run
    CopyInto("optinfo_en.dll", driver);
    CopyInto("..\\zrapi_variants\\with_dependency\\ZRAPI.DLL", driver);
    CopyInto("..\\zrapi_variants\\ZRDEP.DLL", current);
    Component component("en", driver + "\\");
    ASSERT_TRUE(component.Loaded());
    ScopedCurrentFolder inCurrent(current);
    const struct {
        bool bSecureFlags;
        bool bBesideLibrary; // else in the current folder alone
        bool bLoads;
    } cases[] = {{true, false, false}, {false, false, true}, {true, true, true}, {false, true, true}};
    const OptionInfo in = {}; // the printer's record differs
    for (const auto &c : cases) {
        SCOPED_TRACE(
            std::string(c.bSecureFlags ? "secure flags" : "export hidden") +
            (c.bBesideLibrary ? ", ZRDEP.DLL beside ZRAPI.DLL" : ", ZRDEP.DLL in the current folder"));
        if (c.bBesideLibrary)
            CopyInto("..\\zrapi_variants\\ZRDEP.DLL", driver);
        std::unique_ptr<ImportPatch> hidden;
        if (!c.bSecureFlags) {
            hidden.reset(new ImportPatch(component.Module(), "kernel32.dll", "GetProcAddress",
                                         reinterpret_cast<void *>(WithoutSecureFlags)));
            ASSERT_TRUE(hidden->Patched());
        }
        SetEnvironmentVariableA("ZRDEP_LOADED", nullptr);
        ZrapiSession session;
        OptionInfo out = Canary();
        const LONG result = component.Call("RX-9100W", "RX-9100W", &in, &out, FALSE, TRUE);
        EXPECT_EQ(c.bLoads, !ScopedVariable::Value("ZRDEP_LOADED").empty());
        // A library found that does not load is a failed query.
        EXPECT_EQ(c.bLoads ? 1 : 0, result);
        EXPECT_EQ(c.bLoads, !SameRecord(in, out) && !IsCanary(out)) << "the printer's record";
        EXPECT_EQ(nullptr, GetModuleHandleA("ZRDEP.DLL"));
    }
}
