/* Built for the Pentium Pro: a choice between two values that its compiler makes a
   conditional move. */
__declspec(dllexport) int SmallerOf(int a, int b)
{
    return a < b ? a : b;
}
