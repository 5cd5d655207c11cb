#!/usr/bin/env bash
# check_imports.sh PROGRAM.exe...: fails when a program imports a narrow
# (code-page) function that takes a path. Every path goes through the wide
# API, so a name means the same on every PC, whatever its code page.
set -euo pipefail
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
narrow='^(CreateFileA|CreateDirectoryA|CreateDirectoryExA|RemoveDirectoryA|DeleteFileA|MoveFileA|MoveFileExA|CopyFileA|CopyFileExA|ReplaceFileA|GetFileAttributesA|GetFileAttributesExA|SetFileAttributesA|FindFirstFileA|FindFirstFileExA|FindNextFileA|GetFullPathNameA|GetLongPathNameA|GetShortPathNameA|SetCurrentDirectoryA|GetCurrentDirectoryA|GetTempPathA|GetTempFileNameA|LoadLibraryA|LoadLibraryExA|CreateProcessA|ShellExecuteA|ShellExecuteExA|SHGetFolderPathA|GetModuleFileNameA|fopen|fopen64|freopen|_open|open|_sopen|_stat|_stat32|_stat64|_stat64i32|stat|_access|access|_chdir|chdir|_getcwd|getcwd|_mkdir|mkdir|_rmdir|rmdir|remove|rename|_unlink|unlink|_findfirst|_findfirst64|_findnext|_findnext64|opendir|_fullpath|_chmod|_utime|_utime64)$'
status=0
for program in "$@"; do
  found=$("$objdump" -p "$program" | awk '
    /^\tDLL Name:/ { dll = $3; next }
    dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print $3 }' |
    grep -E "$narrow" || true)
  if [ -n "$found" ]; then
    echo "$(basename "$program") imports narrow path functions:" $found >&2
    status=1
  else
    echo "$(basename "$program"): no narrow path function imported"
  fi
done
exit $status
