/* Loads each DLL named on its command line by its bare name, as a program does that leaves
   the DLL search as it is: the control that shows a planted DLL is found beside a program.
   Exit code: how many could not be loaded. */
#include <windows.h>

int main(int argc, char** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        if (LoadLibraryA(argv[i]) == NULL) ++failed;
    }
    return failed;
}
