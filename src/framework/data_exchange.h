// Dialog data exchange of the framework stand-in: the exchange context with its direction
// and last prepared control, the user-failure signal, the validation frame that catches it,
// and the exchanges the component's dialogs use.
#pragma once

#include "framework/window.h"

#include <functional>

// Raised by CDataExchange::Fail once the user has been told what is wrong. Only the
// validation frame catches it, so it never leaves a message handler.
class CUserException {};

class CDataExchange {
public:
    CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }

    // The control about to be exchanged: a failed check returns the focus to it.
    HWND PrepareCtrl(int nIdc);
    // The same for an edit control, whose whole text a failed check selects.
    HWND PrepareEditCtrl(int nIdc);

    // Puts the focus back into the last prepared control and abandons the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with checks
    CWnd *m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Runs the exchange with the window's control notifications locked out. FALSE when a check
// failed (the user has been told) or anything else went wrong (reported here).
BOOL AfxRunValidationFrame(CWnd &wnd, const std::function<void()> &exchange);

// The window whose control notifications are being ignored on this thread, if any.
HWND AfxGetLockoutWindow();

// Tells the user that an operation failed for a reason of the program's own.
void AfxReportInternalFailure() noexcept;

// A 32-bit unsigned value as decimal text; anything else is refused with the
// positive-integer prompt, and the value keeps what it held.
void DDX_Text(CDataExchange *pDX, int nIdc, DWORD &dwValue);

// The index of a combo box's selected entry.
void DDX_CBIndex(CDataExchange *pDX, int nIdc, int &nIndex);

// Attaches a control object to the dialog's control.
void DDX_Control(CDataExchange *pDX, int nIdc, CWnd &control);
