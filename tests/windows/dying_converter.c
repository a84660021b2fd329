/* A converter that dies the way a crashing Windows program ends: with the status of an access
 * violation as its exit code, after a word on its error output, and without writing anything. */
#include <stdio.h>
#include <windows.h>

int main(void) {
    fputs("dying on purpose\n", stderr);
    fflush(stderr);
    ExitProcess(0xC0000005u);
}
