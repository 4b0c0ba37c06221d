// The static objects of the run-time test DLLs: each holds an atom of the process's own
// table, named by its number, from construction to destruction, so that the test program
// sees which of them are alive.
#pragma once

#include <windows.h>

struct RuntimeObjectName {
    explicit RuntimeObjectName(int nNumber) { wsprintfA(szText, "dll runtime object %d", nNumber); }
    char szText[32];
};

class CRuntimeObject {
public:
    explicit CRuntimeObject(int nNumber) : m_atom(AddAtomA(RuntimeObjectName(nNumber).szText)) {}
    ~CRuntimeObject() { DeleteAtom(m_atom); }
    CRuntimeObject(const CRuntimeObject &) = delete;
    CRuntimeObject &operator=(const CRuntimeObject &) = delete;

private:
    ATOM m_atom;
};
