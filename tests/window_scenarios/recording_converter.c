/* A stand-in for the converter, built for Linux and for Windows from this one file: it writes
 * what it was given into converter-call.txt of its working folder (the working folder, then one
 * argument a line, in UTF-8; written under another name and renamed, so that a reader never
 * sees it half written), then copies stand-in.pgf of that folder to the output name it was
 * given, as a finished conversion would leave it. Without a stand-in.pgf it writes no font.
 * A file "slow" in that folder holds it back until the file is removed (at most 60 s), so that
 * the conversion outlasts the window's ticks for as long as a row needs, however busy the machine;
 * a file "fail" makes it say why on its error output and end with status 2, writing no font. */
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

static void writeUtf8(FILE* out, const wchar_t* text) {
    char buffer[4096];
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    if (length > 0) {
        fputs(buffer, out);
    }
}

int main(void) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    FILE* out = fopen("converter-call.part", "wb");
    if (out == NULL || arguments == NULL) {
        return 3;
    }
    writeUtf8(out, folder);
    fputc('\n', out);
    for (int i = 1; i < count; ++i) {
        writeUtf8(out, arguments[i]);
        fputc('\n', out);
    }
    fclose(out);
    remove("converter-call.txt");
    if (rename("converter-call.part", "converter-call.txt") != 0) {
        return 3;
    }
    for (int waited = 0; waited < 600 && GetFileAttributesW(L"slow") != INVALID_FILE_ATTRIBUTES;
         ++waited) {
        Sleep(100);
    }
    if (GetFileAttributesW(L"fail") != INVALID_FILE_ATTRIBUTES) {
        fputs("the stand-in converter was told to fail\n", stderr);
        return 2;
    }
    const BOOL copied = count > 2 && CopyFileW(L"stand-in.pgf", arguments[2], FALSE);
    return copied || GetFileAttributesW(L"stand-in.pgf") == INVALID_FILE_ATTRIBUTES ? 0 : 1;
}
#else
#include <unistd.h>

int main(int argc, char** argv) {
    char folder[4096];
    if (getcwd(folder, sizeof folder) == NULL) {
        return 3;
    }
    FILE* out = fopen("converter-call.part", "wb");
    if (out == NULL) {
        return 3;
    }
    fprintf(out, "%s\n", folder);
    for (int i = 1; i < argc; ++i) {
        fprintf(out, "%s\n", argv[i]);
    }
    fclose(out);
    remove("converter-call.txt");
    if (rename("converter-call.part", "converter-call.txt") != 0) {
        return 3;
    }
    for (int waited = 0; waited < 600 && access("slow", F_OK) == 0; ++waited) {
        usleep(100000);
    }
    if (access("fail", F_OK) == 0) {
        fputs("the stand-in converter was told to fail\n", stderr);
        return 2;
    }
    FILE* in = fopen("stand-in.pgf", "rb");
    if (in == NULL || argc < 3) {
        return 0;
    }
    FILE* made = fopen(argv[2], "wb");
    char block[65536];
    size_t read = 0;
    while (made != NULL && (read = fread(block, 1, sizeof block, in)) > 0) {
        fwrite(block, 1, read, made);
    }
    fclose(in);
    return made != NULL && fclose(made) == 0 ? 0 : 1;
}
#endif
