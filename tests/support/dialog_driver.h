// Drives the real "Printer and Option Information" dialog from inside the test process:
// once the dialog of this thread is up, a script runs inside its modal loop (from a thread
// timer), presses keys and buttons through the dialog manager and reads the controls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DialogDriver {
public:
    using Script = std::function<void(HWND hDlg)>;

    // The dialog ends with this when the script leaves it open.
    static const INT_PTR LEFT_OPEN = 0x4C4F;

    explicit DialogDriver(Script script);
    ~DialogDriver();
    DialogDriver(const DialogDriver &) = delete;
    DialogDriver &operator=(const DialogDriver &) = delete;

    // The dialog was found and the script ran.
    bool Ran() const { return m_bRan; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    Script m_script;
    UINT_PTR m_nTimer;
    bool m_bRan = false;
    bool m_bRunning = false;
    HWND m_hDlg = nullptr;
    int m_nTicksWaiting = 0;
    int m_nTicksAfter = 0;
};

// The visible dialog of this thread that has the guidance text control, or null.
HWND FindOptionDialog();
// All of them: a call nested in another's dialog has one of its own.
std::vector<HWND> OptionDialogsOfThisThread();

std::string ItemText(HWND hDlg, int nId);
bool ItemEnabled(HWND hDlg, int nId);
int FocusId(HWND hDlg); // identifier of the control with the focus; 0 when none of the dialog's
// Start and end of the edit control's selection.
void Selection(HWND hDlg, int nId, DWORD &dwStart, DWORD &dwEnd);

// A mouse click on a button (BM_CLICK): the button takes the focus, then is pressed.
void Click(HWND hDlg, int nId);
// A key pressed through the dialog manager, with the key (and Shift) down in the thread's
// keyboard state while it is handled, as GetKeyState sees it.
void PressKey(HWND hDlg, WPARAM vk, bool bShift = false);
// Characters typed into the control with the focus.
void TypeChars(HWND hDlg, int nId, const char *pszChars);
// Replaces the text of a control, as pasting would.
void SetText(HWND hDlg, int nId, const char *pszText);
// Picks the second cassette as the paper source, then presses OK.
void ChooseCassetteAndOk(HWND hDlg);

// A UTF-8 text in the system's ANSI code page (Shift-JIS under code page 932).
std::string Ansi(const char *pszUtf8);
bool Japanese();
