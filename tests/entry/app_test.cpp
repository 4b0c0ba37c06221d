#include "entry/printer_inf_app.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct HelpCall {
    HWND hOwner;
    std::string strFile;
    UINT nCommand;
    ULONG_PTR dwData;
    int nCalls = 0;
} g_help;

BOOL WINAPI RecordHelp(HWND hOwner, LPCSTR pszFile, UINT nCommand, ULONG_PTR dwData)
{
    g_help.hOwner = hOwner;
    g_help.strFile = pszFile ? pszFile : "";
    g_help.nCommand = nCommand;
    g_help.dwData = dwData;
    ++g_help.nCalls;
    return TRUE;
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pfnSaved = g_pfnHelpViewer;
        g_pfnHelpViewer = RecordHelp;
        g_help = HelpCall();
    }
    void TearDown() override { g_pfnHelpViewer = m_pfnSaved; }

    HelpViewerFn m_pfnSaved = nullptr;
};

std::string Upper(std::string text)
{
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}
} // namespace

TEST(FindModel, WholeNamesIgnoringCase)
{
    LONG nIndex = 5;
    EXPECT_TRUE(theApp.FindModel("RX-9100W", nIndex));
    EXPECT_EQ(1, nIndex);
    EXPECT_EQ(1, theApp.m_nModelIndex);
    EXPECT_TRUE(theApp.FindModel("rx-7100w", nIndex));
    EXPECT_EQ(0, nIndex);
    EXPECT_EQ(0, theApp.m_nModelIndex);
    for (const char *pszName : {"RX-9100", "RX-9100W ", "RX-9100WX", "", "RX-5000", (const char *)nullptr}) {
        theApp.m_nModelIndex = 1;
        nIndex = 1;
        EXPECT_FALSE(theApp.FindModel(pszName, nIndex)) << (pszName ? pszName : "null");
        EXPECT_EQ(-1, nIndex);
        EXPECT_EQ(-1, theApp.m_nModelIndex);
    }
}

TEST_F(HelpTest, AnyTopicOpensTheDialogTopicOfTheModulesHelpFile)
{
    theApp.WinHelp(0x20000 + 103, HELP_CONTENTS);
    ASSERT_EQ(1, g_help.nCalls);
    EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), g_help.nCommand);
    EXPECT_EQ(0x1300u, g_help.dwData);
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string expected = module;
    expected = expected.substr(0, expected.find_last_of('.')) + ".HLP";
    EXPECT_EQ(Upper(expected), Upper(g_help.strFile));
}

TEST_F(HelpTest, TopicZeroPassesTheCommandOn)
{
    theApp.WinHelp(0, HELP_FINDER);
    ASSERT_EQ(1, g_help.nCalls);
    EXPECT_EQ(static_cast<UINT>(HELP_FINDER), g_help.nCommand);
    EXPECT_EQ(0u, g_help.dwData);
}
