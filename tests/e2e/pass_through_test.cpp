// The exported call without printer query and dialog, through the real DLLs.
#include "support/component.h"
#include "support/record.h"

#include "support/wine_test_support.h"

#include <gtest/gtest.h>

TEST(PassThrough, CallersRecordComesBackUnchanged)
{
    for (const char *pszLanguage : {"en", "ja"}) {
        Component component(pszLanguage);
        ASSERT_TRUE(component.Loaded()) << pszLanguage;
        const OptionInfo in = CallerRecord();
        OptionInfo out = Canary();
        EXPECT_EQ(1, component.Call("RX-9100W", "RX-9100W", &in, &out, FALSE, FALSE)) << pszLanguage;
        EXPECT_TRUE(SameRecord(in, out)) << pszLanguage;
    }
}

TEST(PassThrough, NullInputGivesTwelveZeros)
{
    Component component;
    OptionInfo out = Canary();
    EXPECT_EQ(1, component.Call("RX-9100W", "RX-9100W", nullptr, &out, FALSE, FALSE));
    EXPECT_TRUE(SameRecord(OptionInfo(), out));
}

TEST(PassThrough, ReservedValueAndUnknownModelChangeNothing)
{
    Component component;
    const OptionInfo in = CallerRecord();
    for (DWORD dwReserved : {0ul, 1ul, 0xFFFFFFFFul}) {
        for (const char *pszModel : {"RX-9100W", "RX-7100W", "LX-1", ""}) {
            OptionInfo out = Canary();
            EXPECT_EQ(1, component.Call("any", pszModel, &in, &out, FALSE, FALSE, dwReserved));
            EXPECT_TRUE(SameRecord(in, out)) << pszModel << " " << dwReserved;
        }
    }
}

TEST(PassThrough, NullNamesDoNotCrash)
{
    Component component;
    const OptionInfo in = CallerRecord();
    OptionInfo out = Canary();
    EXPECT_EQ(1, component.Call(nullptr, nullptr, &in, &out, FALSE, FALSE));
    EXPECT_TRUE(SameRecord(in, out));
    // The virtual printer names its model: no model name is another printer.
    MessageBoxCatcher catcher;
    out = Canary();
    EXPECT_EQ(0, component.Call(nullptr, nullptr, &in, &out, TRUE, TRUE));
    EXPECT_TRUE(IsCanary(out));
    EXPECT_EQ(1u, catcher.m_boxes.size());
}

TEST(PassThrough, NullOutputRecordFailsBeforeDoingAnything)
{
    Component component;
    const OptionInfo in = CallerRecord();
    for (BOOL bDialog : {FALSE, TRUE})
        for (BOOL bQuery : {FALSE, TRUE})
            EXPECT_EQ(0, component.Call("RX-9100W", "RX-9100W", &in, nullptr, bDialog, bQuery));
}

TEST(DialogRequest, ModelsOtherThanTheRx9100WGetNoDialog)
{
    Component component;
    const OptionInfo in = CallerRecord();
    for (const char *pszModel : {"RX-7100W", "unknown"}) {
        OptionInfo out = Canary();
        EXPECT_EQ(0, component.Call("RX-7100W", pszModel, &in, &out, TRUE, FALSE)) << pszModel;
        EXPECT_TRUE(IsCanary(out)) << pszModel;
    }
}
