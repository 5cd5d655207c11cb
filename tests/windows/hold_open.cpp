// hold_open FILE: holds FILE open as a PDF viewer does (others may read it,
// nobody may replace or delete it) until FILE.gehalten, which it makes once
// the file is held, is removed again; at most a minute.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    HANDLE file =
        CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const std::wstring marker = std::wstring(argv[1]) + L".gehalten";
    CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    for (int i = 0; i < 600 && GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    CloseHandle(file);
    return 0;
}
