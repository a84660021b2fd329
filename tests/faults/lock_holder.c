/* A Windows process that stands for a copy holding a lock: it writes its process number and
 * computer name (as the Windows programs see them) to the file named first, then waits until
 * the file named second exists, at most a minute. */
#include <stdio.h>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    char host[MAX_COMPUTERNAME_LENGTH + 1] = {0};
    DWORD length = sizeof host;
    GetComputerNameA(host, &length);
    FILE* out = fopen(argv[1], "w");
    if (out == NULL) {
        return 1;
    }
    fprintf(out, "%lu %s\n", (unsigned long)GetCurrentProcessId(), host);
    fclose(out);
    for (int i = 0; i < 1200 && GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(50);
    }
    return 0;
}
