// PLACEHOLDER until the dialog lands: the state the entry call hands over, and a modal run
// that reports that no dialog could be created.
#pragma once

#include "entry/option_info.h"
#include "framework/window.h"

#include <string>

class CPrinterInfDlg : public CWnd {
public:
    explicit CPrinterInfDlg(CWnd * /*pParent*/) {}
    INT_PTR DoModal() { return -1; }

    LONG m_nModelIndex = 0;
    std::string m_strPrinterName;
    OptionInfo m_optionInfo;
    BOOL m_bInfoStored = 0;
    BOOL m_bSheetRequested = 0;
};
