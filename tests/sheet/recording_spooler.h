// A stand-in for the print spooler that records every call a job makes and refuses the
// calls it is told to refuse. It checks the arguments of each call as it is made.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CRecordingSpooler {
public:
    CRecordingSpooler();  // takes the spooler's place ...
    ~CRecordingSpooler(); // ... and gives it back
    CRecordingSpooler(const CRecordingSpooler &) = delete;
    CRecordingSpooler &operator=(const CRecordingSpooler &) = delete;

    // The calls so far, e.g. "Open StartDoc StartPage Write:76 EndPage EndDoc Close".
    std::string m_strCalls;
    // All the bytes that WritePrinter was given, in order.
    std::vector<BYTE> m_written;
    // The printer name that OpenPrinterA was given.
    std::string m_strPrinterName;
    // Calls to refuse, by the names above; "Write#2" refuses only the second write.
    std::vector<std::string> m_refused;

    // Handle that OpenPrinterA hands out.
    static HANDLE Handle() { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5150)); }

    // Records the call and tells whether to accept it.
    bool Record(const std::string &strCall, HANDLE hPrinter);

private:
    int m_nWrites = 0;
};

// Poses as the system of a version code for as long as it lives (-1: the version cannot
// be read; 7: a system that has no code).
class CPoseAsSystem {
public:
    explicit CPoseAsSystem(int nCode);
    ~CPoseAsSystem();
};
