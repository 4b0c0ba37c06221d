/* Linked into the with_dependency variant alone: one call into ZRDEP.DLL makes it an import. */
__declspec(dllimport) int ZrDependencyMark(void);

int ZrUsesDependency(void)
{
    return ZrDependencyMark();
}
