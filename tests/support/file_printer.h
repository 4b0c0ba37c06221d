// A printer of Wine's spooler whose port is a file, for tests that judge the raw bytes
// that a print job delivers.
#pragma once

#include <string>

class CFilePrinter {
public:
    // Adds the printer "<strPrefix> <test executable's name>" to the prefix unless it is
    // there already: the name of the executable keeps tests that run side by side (one
    // copy per Windows version) on printers and port files of their own. The port is the
    // file "<printer name>.prn" in the build's scratch folder, emptied here.
    explicit CFilePrinter(const std::string &strPrefix);

    // False when the spooler could not be given the printer.
    bool IsReady() const { return m_bReady; }
    const std::string &Name() const { return m_strName; }

    // The bytes that the last job left in the port file (each job replaces the file's
    // contents); the file is removed, so an empty result means that no job arrived.
    std::string TakeOutput();

private:
    std::string m_strName;
    std::string m_strPortFile; // as Windows names it
    bool m_bReady = false;
};
