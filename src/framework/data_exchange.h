// Dialog data exchange of the framework stand-in: the exchange context with its direction,
// the controls it covers and its last prepared control, and the exchanges the component's
// dialogs use. An exchange that fails returns FALSE, and each caller passes the FALSE on:
// the user has been told what is wrong and the focus is back in the control, or memory ran
// out, which ends the dialog (framework/heap.h).
#pragma once

#include "framework/window.h"

// The control id of an exchange that covers every control of the dialog.
const int ALL_CONTROLS = -1;

class CDataExchange {
public:
    CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate, int nIdcOnly = ALL_CONTROLS)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_nIdcOnly(nIdcOnly)
    {
    }

    // TRUE when control nIdc takes part: in a full exchange every control does.
    BOOL Covers(int nIdc) const { return m_nIdcOnly == ALL_CONTROLS || m_nIdcOnly == nIdc; }

    // The control about to be exchanged: a failed check returns the focus to it.
    HWND PrepareCtrl(int nIdc);
    // The same for an edit control, whose whole text a failed check selects.
    HWND PrepareEditCtrl(int nIdc);

    // Puts the focus back into the last prepared control; returns FALSE, for the exchange
    // to hand back.
    BOOL Fail();

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with checks
    CWnd *m_pDlgWnd;
    int m_nIdcOnly; // the one control exchanged, or ALL_CONTROLS
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// A 32-bit unsigned value as decimal text; anything else is refused with the
// positive-integer prompt, and the value keeps what it held.
BOOL DDX_Text(CDataExchange *pDX, int nIdc, DWORD &dwValue);

// The index of a combo box's selected entry.
void DDX_CBIndex(CDataExchange *pDX, int nIdc, int &nIndex);

// Attaches a control object to the dialog's control.
void DDX_Control(CDataExchange *pDX, int nIdc, CWnd &control);
